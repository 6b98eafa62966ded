// The launch without windows: macros, copied path lists, collected files.
#include <gtest/gtest.h>

#include "definition/settings.h"
#include "definition/startup.h"
#include "launch_recorder.h"
#include "test_support.h"

namespace {

class Launch : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(d);
        text_copy(g_settings.input_initial_text, "init");
        text_copy(g_settings.input_title, "Fixed");
    }
    // The text with {d} the scratch folder, {r} it without its final backslash, {p} a program in
    // folder {b}, {f} a file, {g} a folder, {m} 101 lines of {f}, {x} 1030 bytes, {c} 300, {a} 11,
    // {k} four double-byte characters and {!} the cancelled launch filled in.
    std::string fill(std::string text) const {
        std::string many;
        for (int n = 0; n < 101; ++n) many += f + "\n";
        const std::string x(1030, 'x'), c(300, 'c'), k = "\x83\x41\x83\x41\x83\x41\x83\x41";
        const std::string values[] = {d,    r, prog, bin,           f, g,
                                      many, x, c,    "ABCDEFGHIJK", k, kCancelSentinel};
        for (int n = 0; n < 12; ++n)
            for (size_t at; (at = text.find({'{', "drpbfgmxcak!"[n], '}'})) != std::string::npos;)
                text.replace(at, 3, values[n]);
        return text;
    }
    std::string expand(const std::string &parameter_template) const {
        char out[kParameterTextSize];
        text_copy(g_launch.chosen_entry_name, "&Edit && go");
        expand_command_macros(nullptr, fill(parameter_template).c_str(), "C:\\p.exe", out,
                              sizeof out);
        return out;
    }
    std::string calls() const {  // those since the last call
        std::string all;
        for (const std::string &call : g_calls) all += (all.empty() ? "" : "; ") + call;
        g_calls.clear();
        return all;
    }
    ScratchFolder dir;
    Recorders recorders;
    const std::string d = dir.path(), r = d.substr(0, d.size() - 1), bin = d + "my bin";
    const std::string prog = dir.write("my bin\\p.exe", "MZ"), f = dir.write("b\\c\\n.e", "");
    const std::string g = dir.make_folder("q\\r"), odd = dir.make_folder("a%$Pb");
};

}  // namespace

TEST_F(Launch, ValuePromptsLabelsAndReuse) {
    // template ~ title mode ~ answers ~ parameters ~ prompts as they opened
    for (const char *row :
         {"%X %x ~ 0 ~ 4a,4b ~ a b ~ [1|init|-]; [2|init|-]",
          "%X %X ~ 0 ~ 1same ~ same same ~ [1|init|-]", "%X-%X ~ 0 ~ 1%X ~ %X-%X ~ [1|init|-]",
          "-o %X=\"abc%_Name\" -p ~ 1 ~ 4v ~ -o v -p ~ [1|abc|Name]",
          "%X=\"%_\" ~ 2 ~ 4v ~ v ~ [1|init|Edit  go]", "%X=\"\"! ~ 0 ~ 4v ~ v! ~ [1||-]",
          "{a}%X{a} ~ 1 ~ 4 ~ {a}{a} ~ [1|init|BCDEFGHIJK __ ABCDEFGHIJ]",
          "\x83\x41{k}b%X ~ 1 ~ 4 ~ \x83\x41{k}b ~ [1|init|{k}b __ ]",
          "%X ~ 2 ~ 4v ~ v ~ [1|init|Fixed]", "%X %X ~ 0 ~ 4a,0 ~ {!} ~ [1|init|-]; [2|init|-]",
          "%X=\"open ~ 0 ~  ~ {!} ~ ", "%X=v\"a ~ 0 ~ 4a ~ a=v\"a ~ [1|init|-]",
          "%X{x} ~ 0 ~ 4123456789 ~ 123456789{x} ~ [1|init|-]",
          "%X{x} ~ 0 ~ 41234567890 ~ {!} ~ [1|init|-]"}) {
        std::vector<std::string> c = fields(row);
        SCOPED_TRACE(row);
        g_settings.input_title_mode = std::stoi(c[1]);
        g_answers = c[2];
        EXPECT_EQ(expand(c[0]), fill(c[3]));
        EXPECT_EQ(calls(), fill(c[4]));
    }
    // Placeholders come first, so a user parameter can hold a macro; one that
    // makes the text longer than 1039 bytes abandons the launch.
    g_settings.placeholders_enabled = g_settings.param_count = 1;
    text_copy(g_settings.param_names[0], "ASK");
    text_copy(g_settings.param_values[0], "%X");
    g_answers = "4typed";
    EXPECT_EQ(expand("ASK %ins_Tvr%"), "typed " + r);
    const std::string v(259, 'v');
    text_copy(g_settings.param_values[0], v.c_str());
    EXPECT_EQ(expand("ASK ASK ASK ASK"), v + " " + v + " " + v + " " + v);  // 1039 bytes
    EXPECT_EQ(expand("ASK ASK ASK ASK -"), kCancelSentinel);
}

TEST_F(Launch, ClipboardWindowWorkingFolderAndMultiFileMacros) {
    set_environment("TAVRIK_TEST_DIR", r.c_str());
    g_startup.target_window = -5;
    // template ~ copied text ~ parameters ~ working folder ~ paths taken ~ multi-file mode
    for (const char *row :
         {"%$P|%-$P|%$D|%-$D|%$F|%$N|%$E|%$A|%$B ~ {f}\n{g} ~ "
          "{f}|{f}|{d}b\\c\\|{d}b\\c|c|n.e|.e|n|{d}b\\c\\n ~  ~ 2 ~ 0",
          "%$P|%-$P|%$D|%-$D|%$F|%$N|%$E|%$A|%$B ~  \"{g}\" \r\nnone\n\t{g}\\ ~ "
          "{g}\\|{g}|{d}q\\|{d}q|q|r||r|{g} ~  ~ 2 ~ 0",
          "%$W %$c %$C %$B ~ {f} ~ -5 {f} {f} {d}b\\c\\n ~  ~ 1 ~ 0",
          "%$N ~ {m} ~ n.e ~  ~ 100 ~ 0", "[%$C] ~ {c}\n\"{f}\"\"{g}\" ~ [] ~  ~ 2 ~ 0",
          "%$C %$N ~ C:\\no\\such.txt ~ {!} ~  ~ 0 ~ 0", "%$C ~  ~ {!} ~  ~ 0 ~ 0",
          "%$C ~ %$C ~ %$C ~  ~ 0 ~ 0",  // a value holding its own macro is put in once
          "%$N %$P ~ {d}a%$Pb ~ a%$Pb {d}a%$Pb\\ ~  ~ 1 ~ 0", "%$ ~  ~ %$ ~  ~ 0 ~ 0",
          "-a %Z\"%TAVRIK_TEST_DIR%\" -b ~  ~ -a  -b ~ {d} ~ 0 ~ 0",
          "%Z\"{r}\"-a %Z\"C:\\\" %$W ~  ~ -a  -5 ~ {d} ~ 0 ~ 0",
          "[%Z\"C:\\no\"|%Z\"{r}\"] ~  ~ [|] ~  ~ 0 ~ 0", "%Z\"{r}\" %Z\"C: ~  ~ {!} ~  ~ 0 ~ 0",
          "%M ~  ~ %M ~  ~ 0 ~ 4", "x \"%-M\" ~  ~ x \"%-M\" ~  ~ 0 ~ 3",
          "\"%M\" %X=\" ~  ~ {!} ~  ~ 0 ~ 0"}) {
        std::vector<std::string> c = fields(row);
        SCOPED_TRACE(row);
        g_clipboard = fill(c[1]);
        g_launch.working_folder_override[0] = 0;
        g_launch.selected_count = 0;
        g_launch.multi_file_mode = MultiFileQuoted;  // left by an earlier expansion
        EXPECT_EQ(expand(c[0]), fill(c[2]));
        EXPECT_EQ(g_launch.working_folder_override, fill(c[3]));
        EXPECT_EQ(g_launch.selected_count, std::stoi(c[4]));
        EXPECT_EQ(g_launch.multi_file_mode, std::stoi(c[5]));
    }
    set_environment("TAVRIK_TEST_DIR", nullptr);
}

TEST_F(Launch, CollectedFilesReplaceTheMultiFileToken) {
    // multi-file mode ~ parameters ~ what runs
    for (const char *row : {"3 ~ -a \"%M\" -b ~ [0||-]; open {p}|-a \"{f}\" \"{g}\\\" -b|{b}",
                            "3 ~ -a \"%-M\" -b ~ [0||-]; open {p}|-a \"{f}\" \"{g}\" -b|{b}",
                            "4 ~ -a %M -b ~ [0||-]; open {p}|-a {f} {g}\\ -b|{b}",
                            "3 ~ \"%-m\" \"%M\" ~ [0||-]; open {p}|\"%-m\" \"{f}\" \"{g}\\\"|{b}",
                            "4 ~ %m %M ~ [0||-]; open {p}|{f} {g}\\ %M|{b}", "4 ~ none ~ [0||-]"}) {
        std::vector<std::string> c = fields(row);
        g_launch.multi_file_mode = std::stoi(c[0]);
        g_launch.selected_count = 1;  // a collection starts empty
        g_drops = {"\"" + f + "\"", g};
        g_answers = "4";
        launch_program(prog.c_str(), c[1].c_str(), 1);
        EXPECT_EQ(calls(), fill(c[2]));
        EXPECT_EQ(g_launch.multi_file_mode + g_launch.selected_count, 0);
    }
    g_launch.multi_file_mode = MultiFileUnquoted;  // a cancelled collection launches nothing
    launch_program(prog.c_str(), "%M", 1);
    EXPECT_EQ(calls(), "[0||-]");
}
