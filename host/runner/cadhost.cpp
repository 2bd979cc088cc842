// cadhost: the stand-in CAD host for a person. Loads the add-on as the host does, shows what it
// registered, runs its export options dialog with a scripted user, tells what the host sees of a
// model, and saves the 3D window of a model through the add-on.
#include "CADHost.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const char kUsage[] =
    "usage: cadhost COMMAND [OPTIONS]\n"
    "       cadhost model MODEL [OPTIONS]\n"
    "       cadhost export MODEL OUT.scn [OPTIONS]\n"
    "\n"
    "The stand-in CAD host: loads the Kestrovin export add-on as the CAD application does.\n"
    "\n"
    "commands:\n"
    "  addon                 load the add-on and print what it registered\n"
    "  dialog                show the export options dialog as the host does before an\n"
    "                        export, after the scripted clicks, and store the options\n"
    "  model MODEL           read a model and print what the host sees of it\n"
    "  export MODEL OUT.scn  read a model and save its 3D window as OUT.scn through the\n"
    "                        add-on, as the host does when the user saves the 3D window\n"
    "\n"
    "MODEL is a file the import library reads (IFC, OBJ with MTL, glTF, GLB, Collada, FBX,\n"
    "3DS, PLY, STL, ...) or a host-model file (.json, docs/host-model.md).\n"
    "\n"
    "options:\n"
    "  --language CODE       the host's \"language\" preference (default \"def\": English)\n"
    "  --click ITEM          dialog, export: the user clicks that item (repeatable, in order);\n"
    "                        after the clicks the user presses Enter (item 1, \"Export\")\n"
    "  --choose FILE         dialog, export: the next file dialog chooses FILE\n"
    "  --cancel-file         dialog, export: the next file dialog is cancelled\n"
    "  --no-dialog           export: the host asks the add-on to show no dialog\n"
    "  --cancel-after N      export: the user presses Cancel at the Nth cancel query of the\n"
    "                        progress window (on a terminal Ctrl-C is the Cancel button)\n"
    "  --front-window KIND   export: save from the front window, a 3d, plan, section or\n"
    "                        detail window (default: save the 3D projection)\n"
    "  --progress-log        export: print every call of the progress window afterwards\n"
    "  --generate N          model, export: a generated model of N polygons instead of MODEL\n"
    "  --unit LENGTH         the length of one file unit: m, cm, mm, in, ft or metres\n"
    "                        (default: what the file states, else 1 m)\n"
    "  --up y|z              the file's up axis (default: the format's custom)\n"
    "\n"
    "site and view (defaults: those of a fresh project, the file's own site and camera):\n"
    "  --place CITY          one of Paris, London, Berlin, Karlsruhe, Budapest, Rome,\n"
    "                        Madrid, Moscow, New York, Tokyo, Sydney\n"
    "  --place LAT,LON[,TZ]  latitude and longitude in degrees (north and east positive),\n"
    "                        time zone in hours (default: from the longitude)\n"
    "  --date MM-DD          the day of the sun (default 06-21; a year has 365 days)\n"
    "  --time HH:MM          the local time of the sun (default 12:00)\n"
    "  --daylight-saving on|off  (default on)\n"
    "  --north DEGREES       the direction of north, counter-clockwise from the x axis\n"
    "                        (default 90, or the file's)\n"
    "  --origin X,Y          the project origin offset in metres (default 0,0)\n"
    "  --sun on|off          the sun of both rendering settings (default on)\n"
    "  --lights on|off       the lamps (default: on when the model has lights)\n"
    "  --shadows on|off      traced shadows (default on)\n"
    "  --atmosphere KIND     none, light, medium or heavy (default none)\n"
    "  --no-sun, --no-lights the same as --sun off and --lights off\n"
    "  --camera NAME         the 3D view looks through the model's camera of that name\n"
    "                        (default: its first camera)\n"
    "  --auto-view           an automatic perspective view of the whole model\n"
    "  --parallel            the 3D window shows a parallel projection\n"
    "\n"
    "  --home DIR            the host's folder: preferences and the mapped drives\n"
    "                        (default $CADHOST_HOME, else ~/.cadhost; drive C: is DIR/drives/c)\n"
    "  --addon FILE          the add-on module (default: libKestrovinOut.so beside the host)\n"
    "  --help                show this text\n"
    "\n"
    "The host's debug log goes to standard error. Exit code 0 on success, 1 when the model\n"
    "cannot be read, the add-on fails or the user cancels, 2 for wrong arguments.\n";

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

// Numbers as a person types them, whatever the locale.
bool parseNumber(const std::string& text, double* value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, *value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end && std::isfinite(*value);
}

bool parseNumbers(const std::string& text, std::vector<double>* values)
{
    values->clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        double value = 0.0;
        if (!parseNumber(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start), &value)) {
            return false;
        }
        values->push_back(value);
        if (comma == std::string::npos) {
            return true;
        }
        start = comma + 1;
    }
}

bool parseInteger(const std::string& text, long low, long high, long* value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, *value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end && *value >= low && *value <= high;
}

struct City {
    const char* name;
    int16_t longitude;   // minutes of arc, east positive
    int16_t latitude;
    int16_t timeZone;    // minutes
};

const City kCities[] = {
    {"Paris", 141, 2931, 60},     {"London", -7, 3090, 0},        {"Berlin", 804, 3151, 60},
    {"Karlsruhe", 504, 2940, 60}, {"Budapest", 1144, 2850, 60},   {"Rome", 750, 2514, 60},
    {"Madrid", -222, 2425, 60},   {"Moscow", 2257, 3345, 180},    {"New York", -4440, 2443, -300},
    {"Tokyo", 8381, 2141, 540},   {"Sydney", 9072, -2032, 600},
};

// What the person asked of the project beside the model; applied once the model is read.
struct Settings {
    bool hasPlace = false;
    API_Attribute city = {};
    int dayOfYear = -1;
    int minuteOfDay = -1;
    int daylightSaving = -1;
    bool hasNorth = false;
    double north = 0.0;
    bool hasOrigin = false;
    API_Coord origin = {0.0, 0.0};
    int sun = -1, lights = -1, shadows = -1, atmosphere = -1;
    std::string camera;
    bool autoView = false;
    bool parallel = false;
};

bool onOff(const std::string& text, int* value)
{
    if (text == "on" || text == "off") {
        *value = text == "on" ? 1 : 0;
        return true;
    }
    return false;
}

// A day of the year counted from 0 (1 January) for "MM-DD" in a year of 365 days.
bool parseDate(const std::string& text, int* day)
{
    static const int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    long month = 0, date = 0;
    const std::size_t dash = text.find('-');
    if (dash == std::string::npos || !parseInteger(text.substr(0, dash), 1, 12, &month) ||
        !parseInteger(text.substr(dash + 1), 1, kLengths[month - 1], &date)) {
        return false;
    }
    *day = static_cast<int>(date) - 1;
    for (long m = 1; m < month; ++m) {
        *day += kLengths[m - 1];
    }
    return true;
}

// Applies the settings to the project; false with a message when one does not fit the model.
bool applySettings(const Settings& s, std::string* problem)
{
    cadhost::Project& p = cadhost::project();
    if (s.hasPlace) {
        API_Attribute city = s.city;
        city.index = static_cast<int32_t>(p.cities.size() + 1);
        p.cities.push_back(city);
        p.place.cityIndex = city.index;
    }
    if (s.dayOfYear >= 0) {
        p.place.dayOfYear = s.dayOfYear;
    }
    if (s.minuteOfDay >= 0) {
        p.place.minuteOfDay = s.minuteOfDay;
    }
    if (s.daylightSaving >= 0) {
        p.place.daylightSaving = static_cast<uint8_t>(s.daylightSaving);
    }
    if (s.hasNorth) {
        p.place.northAngle = s.north * 0.017453292519943295;
    }
    if (s.hasOrigin) {
        p.origin = s.origin;
    }
    for (API_RenderingSettings& r : p.rendering) {
        r.sun = s.sun >= 0 ? static_cast<uint8_t>(s.sun) : r.sun;
        r.lights = s.lights >= 0 ? static_cast<uint8_t>(s.lights) : r.lights;
        r.shadows = s.shadows >= 0 ? static_cast<uint8_t>(s.shadows) : r.shadows;
        r.atmosphere = s.atmosphere >= 0 ? static_cast<uint8_t>(s.atmosphere > 0) : r.atmosphere;
    }
    if (s.atmosphere >= 0) {
        p.sun.atmosphereKind = s.atmosphere;
    }
    if (!s.camera.empty() && !cadhost::lookThroughCamera(s.camera)) {
        *problem = "the model has no camera named \"" + s.camera + "\"";
        return false;
    }
    if (s.autoView) {
        cadhost::setAutomaticView(true);
    }
    if (s.parallel) {
        p.projection.isPersp = 0;
    }
    return true;
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

// The handler saves with the host's 3D view, which the host releases afterwards; anything the
// add-on kept of the view or the model is its fault.
GSErrCode saveThroughHandler(cadhost::AddOn& addOn, const API_IOParams& params, std::string* leftBehind)
{
    Modeler::Sight* sight = cadhost::openSight();
    const GSErrCode result = addOn.save3D(1, params, sight);
    const int32_t kept = sight->GetReferenceCount() - 1;
    sight->RemoveReference();
    leftBehind->clear();
    if (kept != 0) {
        *leftBehind += "the add-on kept " + std::to_string(kept) + " references to the 3D view; ";
    }
    if (cadhost::liveModelData() != 0) {
        *leftBehind += "the add-on did not free the model it took with EXPGetModel; ";
    }
    return result;
}

int runDialog(cadhost::AddOn& addOn)
{
    char scratch[] = "/tmp/cadhost-XXXXXX";
    if (::mkdtemp(scratch) == nullptr) {
        std::fprintf(stderr, "cadhost: cannot create a scratch folder in /tmp\n");
        return 1;
    }
    const std::string target = std::string(scratch) + "/Export.scn";
    const cadhost::SaveRequest request(target);
    std::string leftBehind;
    const GSErrCode result = saveThroughHandler(addOn, request.params, &leftBehind);
    std::fputs(cadhost::transcript().c_str(), stdout);
    cadhost::clearTranscript();
    std::remove(target.c_str());
    ::rmdir(scratch);
    if (cadhost::pendingDialogSteps() != 0) {
        std::fprintf(stderr, "cadhost: %zu scripted steps were not taken\n", cadhost::pendingDialogSteps());
    }
    if (!leftBehind.empty()) {
        leftBehind.resize(leftBehind.size() - 2);
        std::fprintf(stderr, "cadhost: %s\n", leftBehind.c_str());
        return 1;
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

void onInterrupt(int)
{
    // The first Ctrl-C is the Cancel button; a second one ends the host at once.
    cadhost::pressCancel();
    std::signal(SIGINT, SIG_DFL);
}

std::string resultText(GSErrCode result)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(result));
    const std::string meaning = result == NoError         ? "saved"
                              : result == APIERR_CANCEL   ? "cancelled"
                              : result == APIERR_GENERAL  ? "general failure"
                              : result == APIERR_MEMFULL  ? "out of memory"
                              : result == APIERR_BADPARS  ? "bad parameters"
                                                          : "failure";
    return std::string(code) + " (" + meaning + ")";
}

int runExport(cadhost::AddOn& addOn, const std::string& model, const std::string& target, int32_t method,
              bool noDialog, bool progressLog)
{
    const cadhost::SaveRequest request(target, method, noDialog ? 1 : 0);
    if (::isatty(2)) {
        cadhost::setProgressDisplay(stderr);
    }
    struct sigaction previous;
    struct sigaction interrupt = {};
    interrupt.sa_handler = onInterrupt;
    sigemptyset(&interrupt.sa_mask);
    ::sigaction(SIGINT, &interrupt, &previous);
    std::string leftBehind;
    const GSErrCode result = saveThroughHandler(addOn, request.params, &leftBehind);
    ::sigaction(SIGINT, &previous, nullptr);
    cadhost::setProgressDisplay(nullptr);
    std::fputs(cadhost::transcript().c_str(), stdout);
    cadhost::clearTranscript();
    std::printf("model             %s\n", model.c_str());
    std::printf("target            %s\n", target.c_str());
    std::printf("result            %s\n", resultText(result).c_str());
    if (progressLog) {
        for (const std::string& line : cadhost::project().progressLog.lines()) {
            std::printf("progress          %s\n", line.c_str());
        }
    }
    flushDebugLog();
    if (cadhost::pendingDialogSteps() != 0) {
        std::fprintf(stderr, "cadhost: %zu scripted steps were not taken\n", cadhost::pendingDialogSteps());
    }
    const std::vector<std::string>& log = cadhost::project().progressLog.lines();
    std::size_t opened = 0, closed = 0;
    for (const std::string& line : log) {
        opened += line.compare(0, 5, "open ") == 0;
        closed += line == "close";
    }
    if (opened > closed) {
        leftBehind += "the add-on left its progress window open; ";
    }
    if (!leftBehind.empty()) {
        leftBehind.resize(leftBehind.size() - 2);
        std::fprintf(stderr, "cadhost: %s\n", leftBehind.c_str());
        return 1;
    }
    if (result == APIERR_CANCEL) {
        std::fprintf(stderr, "cadhost: the export of %s was cancelled\n", model.c_str());
        return 1;
    }
    if (result != NoError) {
        std::fprintf(stderr, "cadhost: the export of %s to %s failed: the add-on answered %s\n", model.c_str(),
                     target.c_str(), resultText(result).c_str());
        return 1;
    }
    return 0;
}

// In the child that reads a model: the pipe end on which it says that the model was read.
int gModelReadSignal = -1;

bool endsWith(const std::string& text, const char* end)
{
    const std::size_t length = std::strlen(end);
    return text.size() >= length && text.compare(text.size() - length, length, end) == 0;
}

// The import library can die on a damaged file (a double free, a write through a null pointer)
// or never return. A model it reads is therefore read, and the command carried out, in a child
// process; this process waits and answers the child's exit code, or names the file when the child
// ended by a signal. Answers -1 in the child (and when no child could be made), which goes on.
int superviseImport(const std::string& model)
{
    int phase[2];
    if (::pipe(phase) != 0) {
        return -1;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(phase[0]);
        ::close(phase[1]);
        return -1;
    }
    if (child == 0) {
        ::close(phase[0]);
        gModelReadSignal = phase[1];
        return -1;
    }
    ::close(phase[1]);
    // Ctrl-C reaches the child, whose first one is the Cancel button.
    std::signal(SIGINT, SIG_IGN);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    char read = 0;
    const bool modelRead = ::read(phase[0], &read, 1) == 1;
    ::close(phase[0]);
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    const int signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    if (signal == SIGINT) {
        return 130;
    }
    const char* name = signal != 0 ? ::strsignal(signal) : "an unknown cause";
    if (!modelRead) {
        std::fprintf(stderr, "cadhost: %s: the import library failed on this file (%s); the model cannot be read\n",
                     model.c_str(), name);
    } else {
        std::fprintf(stderr, "cadhost: %s: the host stopped (%s)\n", model.c_str(), name);
    }
    return 1;
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
    if (command != "addon" && command != "dialog" && command != "model" && command != "export") {
        return usageError("unknown command \"" + command + "\"");
    }
    const bool withModel = command == "model" || command == "export";
    const bool scripted = command == "dialog" || command == "export";
    std::string addOnPath = defaultAddOn();
    std::vector<cadhost::UserAction> script;
    std::vector<std::string> positional;
    cadhost::ModelOptions modelOptions;
    Settings settings;
    long generate = -1;
    long cancelAfter = 0;
    int32_t method = 5;
    int32_t windowKind = API_3DWindow;
    bool noDialog = false, progressLog = false;
    cadhost::resetProject();
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        const std::string value = hasValue ? argv[i + 1] : std::string();
        auto bad = [&](const std::string& wanted) {
            return usageError(option + " needs " + wanted + ", not \"" + value + "\"");
        };
        auto modelOnly = [&]() { return withModel || command == "dialog"; };
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (option.compare(0, 2, "--") != 0 && withModel) {
            positional.push_back(option);
            continue;
        } else if (!hasValue && (option == "--language" || option == "--home" || option == "--addon" ||
                                 option == "--click" || option == "--choose" || option == "--cancel-after" ||
                                 option == "--front-window" || option == "--generate" || option == "--unit" ||
                                 option == "--up" || option == "--place" || option == "--date" || option == "--time" ||
                                 option == "--daylight-saving" || option == "--north" || option == "--origin" ||
                                 option == "--sun" || option == "--lights" || option == "--shadows" ||
                                 option == "--atmosphere" || option == "--camera")) {
            return usageError(option + " needs a value");
        } else if (option == "--language") {
            cadhost::setLanguage(argv[++i]);
            continue;
        } else if (option == "--home") {
            cadhost::setHostFolder(absolute(argv[++i]));
            continue;
        } else if (option == "--addon" && command != "model") {
            addOnPath = absolute(argv[++i]);
            continue;
        } else if (scripted && option == "--click") {
            long item = 0;
            if (!parseInteger(value, 1, 32767, &item)) {
                return usageError("--click needs an item number, not \"" + value + "\"");
            }
            script.push_back({cadhost::UserAction::Click, static_cast<int>(item), std::string()});
        } else if (scripted && option == "--choose") {
            script.push_back({cadhost::UserAction::ChooseFile, 0, absolute(value)});
        } else if (scripted && option == "--cancel-file") {
            script.push_back({cadhost::UserAction::CancelFileDialog, 0, std::string()});
            continue;
        } else if (command == "export" && option == "--no-dialog") {
            noDialog = true;
            continue;
        } else if (command == "export" && option == "--progress-log") {
            progressLog = true;
            continue;
        } else if (command == "export" && option == "--cancel-after") {
            if (!parseInteger(value, 1, INT32_MAX, &cancelAfter)) {
                return bad("a count of cancel queries");
            }
        } else if (command == "export" && option == "--front-window") {
            const int32_t kind = value == "3d" ? API_3DWindow : value == "plan" ? API_FloorPlanWindow
                               : value == "section" ? API_SectionWindow : value == "detail" ? API_DetailWindow : 0;
            if (kind == 0) {
                return bad("3d, plan, section or detail");
            }
            method = 6;
            windowKind = kind;
        } else if (withModel && option == "--generate") {
            if (!parseInteger(value, 0, 100000000, &generate)) {
                return bad("a number of polygons from 0 to 100000000");
            }
        } else if (withModel && option == "--unit") {
            const double named = value == "m" ? 1.0 : value == "cm" ? 0.01 : value == "mm" ? 0.001
                               : value == "in" ? 0.0254 : value == "ft" ? 0.3048 : 0.0;
            modelOptions.unit = named;
            if (named == 0.0 && (!parseNumber(value, &modelOptions.unit) || !(modelOptions.unit > 0.0))) {
                return bad("m, cm, mm, in, ft or a length in metres");
            }
        } else if (withModel && option == "--up") {
            if (value != "y" && value != "z") {
                return bad("y or z");
            }
            modelOptions.upAxis = value[0];
        } else if (modelOnly() && option == "--place") {
            settings.hasPlace = true;
            settings.city = API_Attribute();
            settings.city.typeID = API_CityID;
            bool known = false;
            for (const City& city : kCities) {
                if (value == city.name) {
                    std::snprintf(settings.city.name, sizeof settings.city.name, "%s", city.name);
                    settings.city.longitude = city.longitude;
                    settings.city.latitude = city.latitude;
                    settings.city.timeZone = city.timeZone;
                    known = true;
                }
            }
            std::vector<double> numbers;
            if (!known) {
                if (!parseNumbers(value, &numbers) || numbers.size() < 2 || numbers.size() > 3 ||
                    std::fabs(numbers[0]) > 90.0 || std::fabs(numbers[1]) > 180.0 ||
                    (numbers.size() == 3 && std::fabs(numbers[2]) > 24.0)) {
                    return bad("a city of the list or LATITUDE,LONGITUDE[,TIME ZONE] in degrees and hours");
                }
                std::snprintf(settings.city.name, sizeof settings.city.name, "Site");
                settings.city.latitude = static_cast<int16_t>(std::lround(numbers[0] * 60.0));
                settings.city.longitude = static_cast<int16_t>(std::lround(numbers[1] * 60.0));
                settings.city.timeZone = static_cast<int16_t>(
                    numbers.size() == 3 ? std::lround(numbers[2] * 60.0) : std::lround(numbers[1] / 15.0) * 60);
            }
        } else if (modelOnly() && option == "--date") {
            if (!parseDate(value, &settings.dayOfYear)) {
                return bad("a date MM-DD of a year of 365 days");
            }
        } else if (modelOnly() && option == "--time") {
            long hours = 0, minutes = 0;
            const std::size_t colon = value.find(':');
            if (colon == std::string::npos || !parseInteger(value.substr(0, colon), 0, 23, &hours) ||
                !parseInteger(value.substr(colon + 1), 0, 59, &minutes)) {
                return bad("a time HH:MM");
            }
            settings.minuteOfDay = static_cast<int>(hours * 60 + minutes);
        } else if (modelOnly() && option == "--daylight-saving") {
            if (!onOff(value, &settings.daylightSaving)) {
                return bad("on or off");
            }
        } else if (modelOnly() && option == "--north") {
            if (!parseNumber(value, &settings.north)) {
                return bad("an angle in degrees");
            }
            settings.hasNorth = true;
        } else if (modelOnly() && option == "--origin") {
            std::vector<double> numbers;
            if (!parseNumbers(value, &numbers) || numbers.size() != 2 || std::fabs(numbers[0]) > 1e7 ||
                std::fabs(numbers[1]) > 1e7) {
                return bad("X,Y in metres");
            }
            settings.hasOrigin = true;
            settings.origin = {numbers[0], numbers[1]};
        } else if (modelOnly() && (option == "--sun" || option == "--lights" || option == "--shadows")) {
            int* flag = option == "--sun" ? &settings.sun : option == "--lights" ? &settings.lights : &settings.shadows;
            if (!onOff(value, flag)) {
                return bad("on or off");
            }
        } else if (modelOnly() && option == "--atmosphere") {
            settings.atmosphere = value == "none" ? 0 : value == "light" ? 1 : value == "medium" ? 2
                                : value == "heavy" ? 3 : -1;
            if (settings.atmosphere < 0) {
                return bad("none, light, medium or heavy");
            }
        } else if (modelOnly() && option == "--camera") {
            settings.camera = value;
        } else if (option == "--no-lights") {
            settings.lights = 0;
            continue;
        } else if (option == "--no-sun") {
            settings.sun = 0;
            continue;
        } else if (option == "--parallel") {
            settings.parallel = true;
            continue;
        } else if (modelOnly() && option == "--auto-view") {
            settings.autoView = true;
            continue;
        } else {
            return usageError("unknown option \"" + option + "\" for " + command);
        }
        ++i;   // the option's value
    }
    const std::size_t wanted = command == "export" ? 2 : command == "model" ? 1 : 0;
    const std::size_t given = positional.size() + (generate >= 0 ? 1 : 0);
    if (withModel && given != wanted) {
        return usageError(command == "export" ? "export needs a MODEL (or --generate N) and an OUT.scn"
                                              : "model needs a MODEL (or --generate N)");
    }
    std::string modelName;
    if (withModel) {
        if (generate >= 0) {
            cadhost::generateModel(generate);
            modelName = "generated model of " + std::to_string(generate) + " polygons";
        } else {
            modelName = positional[0];
            const std::string path = absolute(positional[0]);
            if (!endsWith(path, ".json")) {
                const int supervised = superviseImport(path);
                if (supervised >= 0) {
                    return supervised;
                }
            }
            std::string error;
            if (!cadhost::loadModel(path, modelOptions, &error)) {
                std::fprintf(stderr, "cadhost: %s\n", error.c_str());
                return 1;
            }
            if (gModelReadSignal >= 0) {
                const char read = 1;
                (void)!::write(gModelReadSignal, &read, 1);
                ::close(gModelReadSignal);
                gModelReadSignal = -1;
            }
        }
    }
    std::string problem;
    if (!applySettings(settings, &problem)) {
        std::fprintf(stderr, "cadhost: %s: %s\n", modelName.c_str(), problem.c_str());
        return 1;
    }
    cadhost::project().windowKind = windowKind;
    cadhost::project().cancelAfter = static_cast<int32_t>(cancelAfter);
    for (const std::string& warning : cadhost::project().modelWarnings) {
        std::fprintf(stderr, "cadhost: warning: %s\n", warning.c_str());
    }
    if (command == "model") {
        std::fputs(cadhost::describeModel().c_str(), stdout);
        return 0;
    }
    std::string target;
    if (command == "export") {
        target = absolute(positional.back());
        struct stat info;
        const std::string folder = target.substr(0, target.rfind('/'));
        if (::stat(folder.empty() ? "/" : folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            std::fprintf(stderr, "cadhost: cannot save %s: its folder does not exist\n", target.c_str());
            return 1;
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
        code = command == "addon"  ? printAddOn(addOn, addOnPath)
             : command == "dialog" ? runDialog(addOn)
                                   : runExport(addOn, modelName, target, method, noDialog, progressLog);
        addOn.unload();
    }
    flushDebugLog();
    return code;
}
