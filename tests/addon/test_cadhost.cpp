// The runner's commands as a person runs them.
#include "test_addon_support.h"

#include <cstdio>
#include <sys/wait.h>

namespace {

struct RunCase {
    const char* name;
    std::string arguments;
    int exitCode;
    std::vector<std::string> out;   // lines expected on standard output
    std::vector<std::string> err;   // lines expected on standard error
};

class Runner : public HostFolderTest, public ::testing::WithParamInterface<RunCase> {
protected:
    std::string read(const std::string& path)
    {
        std::ifstream file(path);
        return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    }
};

TEST_P(Runner, AnswersAsAUserExpects)
{
    const std::string command = "CADHOST_HOME='" + mFolder + "' " CADHOST_PATH " " + GetParam().arguments + " >'" +
                                mFolder + "/out' 2>'" + mFolder + "/err' </dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), GetParam().exitCode);
    const std::string out = read(mFolder + "/out");
    const std::string err = read(mFolder + "/err");
    for (std::string line : GetParam().out) {
        const std::size_t at = line.find('@');
        if (at != std::string::npos) {
            line.replace(at, 1, mFolder);
        }
        EXPECT_NE(("\n" + out).find("\n" + line + "\n"), std::string::npos) << "no line \"" << line << "\" in\n" << out;
    }
    for (const std::string& line : GetParam().err) {
        EXPECT_NE(("\n" + err).find("\n" + line + "\n"), std::string::npos) << "no line \"" << line << "\" in\n" << err;
    }
    if (GetParam().err.empty()) {
        EXPECT_EQ(err, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, Runner, ::testing::Values(
    RunCase{"Help", "--help", 0, {"usage: cadhost COMMAND [OPTIONS]"}, {}},
    RunCase{"NoCommand", "", 2, {}, {"cadhost: no command given", "usage: cadhost COMMAND [OPTIONS]"}},
    RunCase{"UnknownCommand", "render", 2, {}, {"cadhost: unknown command \"render\""}},
    RunCase{"UnknownOption", "addon --click 3", 2, {}, {"cadhost: unknown option \"--click\" for addon"}},
    RunCase{"BadItem", "dialog --click ten", 2, {}, {"cadhost: --click needs an item number, not \"ten\""}},
    RunCase{"MissingValue", "dialog --language", 2, {}, {"cadhost: --language needs a value"}},
    RunCase{"Addon", "addon", 0,
            {"name              Kestrovin Studio 3 Out (7.06)", "language          def", "file type         TEXT alhe (reference 1)",
             "extension         scn", "type description  Kestrovin Studio File 3.0", "icon              0",
             "flags             48", "3D handler        installed", "identifier        1263752783 706"},
            {}},
    RunCase{"AddonInRussian", "addon --language RUS", 0,
            {"language          RUS", "name              Kestrovin Studio 3 Out (7.06)",
             "description       Сохраняет 3D-окно в формате Kestrovin Studio. За технической поддержкой обращайтесь к вашему дилеру Kestrovin.",
             "type description  Kestrovin Studio File 3.0"},
            {}},
    RunCase{"MissingAddon", "addon --addon /nonexistent/none.so", 1, {},
            {"cadhost: cannot load the add-on \"/nonexistent/none.so\": /nonexistent/none.so: cannot open shared object file: No such file or directory"}},
    RunCase{"Dialog", "dialog --click 29 --no-sun --click 12", 0,
            {"Dialog 131 \"Save Kestrovin Studio 3 Document\" (560 x 430)", "  click 29",
             "  click 12: disabled, nothing happens", "   12 checkbox  [ ] \"Sun\"  (disabled)",
             "   29 checkbox  [x] \"Unique layer\"", "options stored in @/Preferences/KestrovinOut.prefs"},
            {}},
    RunCase{"DialogInItalian", "dialog --language ITA", 0,
            {"Dialog 531 \"Salva documento Kestrovin Studio 3\" (560 x 430)", "    1 button    \"Esporta\""}, {}},
    RunCase{"DialogCancelled", "dialog --click 2", 1, {"  closed: cancelled"},
            {"cadhost: the export was cancelled; the options are not stored"}},
    RunCase{"ParallelProjection", "dialog --parallel --language HUN", 1,
            {"Alert 728", "  A Kestrovin Studio 3 Out nem tud párhuzamos vetítéseket feldolgozni."},
            {"cadhost: the export was cancelled; the options are not stored"}},
    RunCase{"UnusedSteps", "dialog --click 2 --click 8", 1, {},
            {"cadhost: 1 scripted steps were not taken", "cadhost: the export was cancelled; the options are not stored"}}),
    [](const ::testing::TestParamInfo<RunCase>& info) { return info.param.name; });

}  // namespace
