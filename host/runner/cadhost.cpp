// cadhost: the stand-in CAD host for a person. Loads the add-on as the host does, shows what it
// registered, and runs its export options dialog with a scripted user.
#include "CADHost.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char kUsage[] =
    "usage: cadhost COMMAND [OPTIONS]\n"
    "\n"
    "The stand-in CAD host: loads the Kestrovin export add-on as the CAD application does.\n"
    "\n"
    "commands:\n"
    "  addon                 load the add-on and print what it registered\n"
    "  dialog                show the export options dialog as the host does before an\n"
    "                        export, after the scripted clicks, and store the options\n"
    "\n"
    "options:\n"
    "  --language CODE       the host's \"language\" preference (default \"def\": English)\n"
    "  --click ITEM          dialog: the user clicks that item (repeatable, in order);\n"
    "                        after the clicks the user presses Enter (item 1, \"Export\")\n"
    "  --choose FILE         dialog: the next file dialog chooses FILE\n"
    "  --cancel-file         dialog: the next file dialog is cancelled\n"
    "  --no-lights           the project's rendering settings have the lamps off\n"
    "  --no-sun              the project's rendering settings have the sun off\n"
    "  --parallel            the 3D window shows a parallel projection\n"
    "  --home DIR            the host's folder: preferences and the mapped drives\n"
    "                        (default $CADHOST_HOME, else ~/.cadhost; drive C: is DIR/drives/c)\n"
    "  --addon FILE          the add-on module (default: libKestrovinOut.so beside the host)\n"
    "  --help                show this text\n"
    "\n"
    "The host's debug log goes to standard error. Exit code 0 on success, 1 when the add-on\n"
    "fails or the user cancels, 2 for wrong arguments.\n";

int usageError(const std::string& problem)
{
    std::fprintf(stderr, "cadhost: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

std::string defaultAddOn()
{
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) {
        return "libKestrovinOut.so";
    }
    self[n] = '\0';
    std::string folder(self);
    folder = folder.substr(0, folder.rfind('/'));
    return folder + "/../lib/libKestrovinOut.so";
}

std::string absolute(const std::string& path)
{
    if (path.empty() || path[0] == '/' || (path.size() >= 2 && path[1] == ':')) {
        return path;
    }
    char cwd[PATH_MAX];
    return ::getcwd(cwd, sizeof cwd) != nullptr ? std::string(cwd) + "/" + path : path;
}

// A type or creator code as its four characters in storage order.
std::string fourChars(uint32_t code)
{
    std::string text;
    for (int shift = 0; shift <= 24; shift += 8) {
        const char c = static_cast<char>((code >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

void flushDebugLog()
{
    const std::string& log = cadhost::debugLog();
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find('\n', start);
        if (end == std::string::npos) {
            end = log.size();
        }
        std::fprintf(stderr, "debug: %s\n", log.substr(start, end - start).c_str());
        start = end + 1;
    }
    cadhost::clearDebugLog();
}

int printAddOn(const cadhost::AddOn& addOn, const std::string& path)
{
    std::printf("add-on            %s\n", path.c_str());
    std::printf("identifier        %u %u\n", addOn.identifier[0], addOn.identifier[1]);
    std::printf("language          %s\n", cadhost::language().c_str());
    std::printf("name              %s\n", addOn.name().c_str());
    std::printf("description       %s\n", addOn.description().c_str());
    for (const cadhost::RegisteredFileType& type : cadhost::registeredFileTypes()) {
        std::printf("file type         %s %s (reference %d)\n", fourChars(type.record.fileType).c_str(),
                    fourChars(type.record.creator).c_str(), type.record.refCon);
        std::printf("extension         %s\n", type.extension.c_str());
        std::printf("type description  %s\n", type.description.c_str());
        std::printf("icon              %d\n", type.record.iconId);
        std::printf("flags             %d\n", type.record.flags);
        std::printf("3D handler        %s\n",
                    cadhost::installedHandler3D(type.record.refCon) != nullptr ? "installed" : "none");
    }
    return 0;
}

int runDialog(cadhost::AddOn& addOn)
{
    char scratch[] = "/tmp/cadhost-XXXXXX";
    if (::mkdtemp(scratch) == nullptr) {
        std::fprintf(stderr, "cadhost: cannot create a scratch folder in /tmp\n");
        return 1;
    }
    const std::string target = std::string(scratch) + "/Export.scn";
    IO::Location location(target.c_str());
    GS::UniString name("Export.scn");
    API_IOParams params = {};
    params.method = 5;
    params.refCon = 1;
    params.fileLoc = &location;
    params.fileName = &name;
    const GSErrCode result = addOn.save3D(1, params, nullptr);
    std::fputs(cadhost::transcript().c_str(), stdout);
    cadhost::clearTranscript();
    std::remove(target.c_str());
    ::rmdir(scratch);
    if (cadhost::pendingDialogSteps() != 0) {
        std::fprintf(stderr, "cadhost: %zu scripted steps were not taken\n", cadhost::pendingDialogSteps());
    }
    if (result == APIERR_CANCEL) {
        std::fprintf(stderr, "cadhost: the export was cancelled; the options are not stored\n");
        return 1;
    }
    if (result != NoError) {
        std::fprintf(stderr, "cadhost: the add-on answered 0x%08X\n", static_cast<unsigned>(result));
        return 1;
    }
    std::printf("options stored in %s\n", cadhost::preferencesPath("KestrovinOut").c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        return usageError("no command given");
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command != "addon" && command != "dialog") {
        return usageError("unknown command \"" + command + "\"");
    }
    std::string addOnPath = defaultAddOn();
    std::vector<cadhost::UserAction> script;
    cadhost::resetProject();
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (option == "--language" && hasValue) {
            cadhost::setLanguage(argv[++i]);
        } else if (option == "--home" && hasValue) {
            cadhost::setHostFolder(absolute(argv[++i]));
        } else if (option == "--addon" && hasValue) {
            addOnPath = absolute(argv[++i]);
        } else if (option == "--no-lights") {
            cadhost::project().rendering[0].lights = cadhost::project().rendering[1].lights = 0;
        } else if (option == "--no-sun") {
            cadhost::project().rendering[0].sun = cadhost::project().rendering[1].sun = 0;
        } else if (option == "--parallel") {
            cadhost::project().projection.isPersp = 0;
        } else if (command == "dialog" && option == "--click" && hasValue) {
            char* end = nullptr;
            const long item = std::strtol(argv[++i], &end, 10);
            if (*argv[i] == '\0' || *end != '\0' || item < 1 || item > 32767) {
                return usageError(std::string("--click needs an item number, not \"") + argv[i] + "\"");
            }
            script.push_back({cadhost::UserAction::Click, static_cast<int>(item), std::string()});
        } else if (command == "dialog" && option == "--choose" && hasValue) {
            script.push_back({cadhost::UserAction::ChooseFile, 0, absolute(argv[++i])});
        } else if (command == "dialog" && option == "--cancel-file") {
            script.push_back({cadhost::UserAction::CancelFileDialog, 0, std::string()});
        } else if (!hasValue && (option == "--language" || option == "--home" || option == "--addon" ||
                                 option == "--click" || option == "--choose")) {
            return usageError(option + " needs a value");
        } else {
            return usageError("unknown option \"" + option + "\" for " + command);
        }
    }
    cadhost::setDialogScript(script);
    int code = 1;
    {
        cadhost::AddOn addOn;
        if (!addOn.load(addOnPath)) {
            flushDebugLog();
            std::fprintf(stderr, "cadhost: %s\n", addOn.error().c_str());
            return 1;
        }
        code = command == "addon" ? printAddOn(addOn, addOnPath) : runDialog(addOn);
        addOn.unload();
    }
    flushDebugLog();
    return code;
}
