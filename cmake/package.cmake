# Release package: Tavrik-<version>-win64.zip (win32 in a 32-bit tree) holding
# the two programs, the Japanese and the English manual, the sample
# definition, the changes, the licence and a short README, ready to unpack
# anywhere. The texts are kept in UTF-8 in the repository and shipped with
# CR LF line ends: in code page 932, the English manual as plain text in
# UTF-8 made from its Markdown.
#
# In the 64-bit tree the `release` target also builds the 32-bit tree's
# package and puts both zips into build/release/.

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(TAVRIK_PACKAGE_ARCH win64)
else()
    set(TAVRIK_PACKAGE_ARCH win32)
endif()
set(TAVRIK_PACKAGE_NAME Tavrik-${PROJECT_VERSION}-${TAVRIK_PACKAGE_ARCH})
set(TAVRIK_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/${TAVRIK_PACKAGE_NAME}.zip)
set(stage ${CMAKE_BINARY_DIR}/package/${TAVRIK_PACKAGE_NAME})
set(texts ${CMAKE_BINARY_DIR}/package/texts)

set(shipped_texts)
foreach(triple IN ITEMS "docs/help-ja.txt=Tavrik.txt=to_cp932"
                        "docs/manual.md=Tavrik-en.txt=md_to_text"
                        "docs/sample.ini=Tavrik.sample.ini=to_cp932"
                        "CHANGES.txt=CHANGES.txt=to_cp932" "res/README.txt=README.txt=to_cp932")
    string(REPLACE "=" ";" triple "${triple}")
    list(GET triple 0 source)
    list(GET triple 1 shipped)
    list(GET triple 2 tool)
    add_custom_command(OUTPUT ${texts}/${shipped}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${texts}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/${tool}.py
                ${CMAKE_SOURCE_DIR}/${source} ${texts}/${shipped}
        DEPENDS ${CMAKE_SOURCE_DIR}/${source} ${CMAKE_SOURCE_DIR}/tools/${tool}.py
        VERBATIM)
    list(APPEND shipped_texts ${texts}/${shipped})
endforeach()

set(package_files Tavrik.exe tavrik-check.exe Tavrik.txt Tavrik-en.txt Tavrik.sample.ini
    CHANGES.txt LICENSE README.txt)
# A fixed time stamp for every member: the same sources give the same zip.
add_custom_command(OUTPUT ${TAVRIK_PACKAGE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tavrik> ${stage}/Tavrik.exe
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tavrik-check> ${stage}/tavrik-check.exe
    COMMAND ${CMAKE_STRIP} --strip-debug ${stage}/Tavrik.exe ${stage}/tavrik-check.exe
    COMMAND ${CMAKE_COMMAND} -E copy ${shipped_texts} ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/LICENSE ${stage}/LICENSE
    COMMAND ${CMAKE_COMMAND} -E rm -f ${TAVRIK_PACKAGE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage}
            ${CMAKE_COMMAND} -E tar cf ${TAVRIK_PACKAGE_ZIP} --format=zip
            "--mtime=2026-01-01 00:00:00 UTC" ${package_files}
    DEPENDS Tavrik tavrik-check ${shipped_texts} ${CMAKE_SOURCE_DIR}/LICENSE
    VERBATIM)
add_custom_target(package_zip ALL DEPENDS ${TAVRIK_PACKAGE_ZIP})

if(TAVRIK_PACKAGE_ARCH STREQUAL "win64")
    set(release_dir ${CMAKE_SOURCE_DIR}/build/release)
    add_custom_target(release
        COMMAND ${CMAKE_COMMAND} --preset windows-x86
        COMMAND ${CMAKE_COMMAND} --build --preset windows-x86 --target package_zip
        COMMAND ${CMAKE_COMMAND} -E make_directory ${release_dir}
        COMMAND ${CMAKE_COMMAND} -E copy ${TAVRIK_PACKAGE_ZIP}
                ${CMAKE_SOURCE_DIR}/build/windows-x86/Tavrik-${PROJECT_VERSION}-win32.zip
                ${release_dir}
        COMMAND ${CMAKE_COMMAND} -E echo "release packages in ${release_dir}"
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        DEPENDS package_zip
        VERBATIM)
endif()
