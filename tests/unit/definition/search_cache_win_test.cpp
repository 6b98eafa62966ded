// Program resolution from folder listings answers as asking the file system.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "core/platform.h"
#include "definition/resolve.h"
#include "definition/search_cache.h"
#include "definition/settings.h"
#include "test_support.h"

static void take_name(const char *name, int, void *names) {
    static_cast<std::vector<std::string> *>(names)->push_back(name);
}

// A scratch tree and a share of the system's folders, names long and 8.3, as
// listed, in another letter case, without their extension and absent, alone
// and as whole paths, resolved both ways and asked whether they are folders.
TEST(SearchCache, ListingsAnswerAsTheFileSystem) {
    ScratchFolder dir;
    const std::string d = dir.path();
    reset_launcher_state(d);
    const char *const folders[] = {"cur\\", "a\\", "b\\", "c\\"};
    const char *const extensions[] = {".exe", ".com", ".cmd", ".txt", ""};
    for (int i = 0; i < 250; ++i)
        dir.write(folders[i % 4] + std::string(i % 3 ? "p" : "Long Program ") + std::to_string(i) +
                      extensions[i % 5],
                  "MZ");
    for (const char *file :
         {"b\\sub\\deep.exe", "b\\\x83\x63\x81\x5b\x83\x8b.exe", "cur\\dir.exe\\x"})
        dir.write(file, "MZ");
    set_current_folder(d + "cur");
    set_environment("PATHEXT", ".COM;.EXE;.CMD");
    const std::string lists[] = {d + "a;" + d + "b\\;..\\b\\sub;" + d + "missing",
                                 d + "b;;" + d + "c"};
    std::vector<std::string> listed,
        names = {"nul",         "con.exe",   "p1.exe.",
                 "p1 ",         "sub\\deep", "\x83\x63\x81\x5b\x83\x8b",
                 "comctl32.dll"};
    for (const char *folder : folders) plat_list_folder((d + folder).c_str(), take_name, &listed);
    std::vector<char> order(98304);
    ASSERT_TRUE(plat_default_search_order(order.data(), order.size()));
    std::vector<std::string> system;
    for (const char *p = order.data(); *p; p += strcspn(p, ";") + (p[strcspn(p, ";")] != 0))
        plat_list_folder((std::string(p, strcspn(p, ";")) + "\\").c_str(), take_name, &system);
    for (size_t i = 0; i < system.size(); i += system.size() / 60 + 1) listed.push_back(system[i]);
    for (size_t i = 0; i < listed.size(); ++i) {
        std::string name = listed[i];
        for (char &c : name) c = (char)(i % 2 ? tolower(c) : toupper(c));  // ASCII
        names.insert(names.end(), {listed[i], name, name.substr(0, name.rfind('.')), name + "x"});
    }
    for (size_t i = 0, n = names.size(); i < n; i += 2)
        names.push_back(d + folders[i % 4] + names[i]);
    for (const char *path :
         {"b\\sub", "cur\\DIR.EXE", "B\\SUB\\deep.exe", "b\\sub\\", "a\\..\\b\\p1.exe"})
        names.push_back(d + path);
    ASSERT_GE(names.size(), 1000u);
    std::vector<std::string> answers[2];
    for (int use : {0, 1}) {
        search_cache_use(use);
        for (size_t i = 0; i < names.size(); ++i) {
            snprintf(g_settings.search_list, kSearchListSize, "%s", lists[i % 2].c_str());
            g_settings.search_list_set = i % 5 != 0;
            char out[kPathSize];
            int found = resolve_program(names[i].c_str(), i % 3 != 1, out);
            answers[use].push_back(std::to_string(found) + " " + out + " " +
                                   std::to_string(resolved_is_folder(out)));
        }
    }
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(answers[1][i], answers[0][i]) << names[i];
    set_environment("PATHEXT", nullptr);
}
