# Runs the real tavrik-check.exe (under Wine through EMULATOR) on a clean
# definition, one with findings and a missing one, in English and Japanese.
#
#   cmake -DEMULATOR=a|b|c -DCHECK=tavrik-check.exe -DDATA=tests/check -DWORK=dir -P check_cli.cmake
cmake_minimum_required(VERSION 3.25)

string(REPLACE "|" ";" emulator "${EMULATOR}")
set(failures 0)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/bin")
file(COPY "${CHECK}" DESTINATION "${WORK}/bin")
get_filename_component(exe_name "${CHECK}" NAME)
set(exe "${WORK}/bin/${exe_name}")

# run(<language> <expected exit code> <output variable> [argument])
function(run language expected out_var)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env TAVRIK_CHECK_LANG=${language} ${emulator} "${exe}" ${ARGN}
        WORKING_DIRECTORY "${WORK}"
        OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
    if(NOT rc EQUAL expected)
        message(SEND_ERROR "tavrik-check ${ARGN} (${language}): exit ${rc}, expected ${expected}\n${out}${err}")
    endif()
    set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

function(expect_in text pattern what)
    string(REGEX MATCH "${pattern}" found "${text}")
    if(NOT found)
        message(SEND_ERROR "${what}: no match for \"${pattern}\" in:\n${text}")
    endif()
endfunction()

# The file the launcher beside it would use is missing: exit 2, nothing created.
run(en 2 out)
expect_in("${out}" "Cannot read the definition file .*Tavrik\\.ini" "missing default")
expect_in("${out}" "would create it empty" "missing default")
if(EXISTS "${WORK}/bin/Tavrik.ini")
    message(SEND_ERROR "the checker created Tavrik.ini")
endif()

# The same folder with a clean Tavrik.ini: exit 0 and the tree with its lines.
configure_file("${DATA}/clean.ini" "${WORK}/bin/Tavrik.ini" COPYONLY)
run(en 0 out)
expect_in("${out}" "No findings\\." "clean")
expect_in("${out}" " 8  &Notepad  ->  [A-Za-z]:.*notepad\\.exe  \\(2 variants\\)" "clean tree")
expect_in("${out}" "13    &Command prompt  ->  " "clean submenu")
expect_in("${out}" "line 3: menu position: screen centre" "clean settings")

# Findings, named by their lines.
run(en 1 out "Z:${DATA}/findings.ini")
foreach(expected IN ITEMS
        "line 2: \"@menu=1\" is too short"
        "line 3: \"@nothing\" matches no directive"
        "line 6: \"\\+\" here is read as an entry line"
        "line 8: entry left out: \"no_such_program_xyz\" was not found"
        "tried, in order:\r?\n +as a file or folder: no_such_program_xyz, no_such_program_xyz\\.exe\r?\n"
        "line 9: \"}\" without an open submenu"
        "line 10: submenu \"Open\" is never closed"
        "Findings: 6")
    expect_in("${out}" "${expected}" "findings")
endforeach()

# The same in Japanese: code page 932 bytes ("8 行目", "指摘: 6 件").
run(ja 1 out "Z:${DATA}/findings.ini")
string(HEX "${out}" hex)
expect_in("${hex}" "38208d7396da3a20" "Japanese line label")
expect_in("${hex}" "8e7793453a2036208c8f" "Japanese finding count")

# A named file that is not there.
run(en 2 out "Z:${WORK}/no-such-file.ini")
expect_in("${out}" "Cannot read the definition file" "missing named file")
run(ja 2 out "Z:${WORK}/no-such-file.ini")
