// The developer configuration of the add-on: a text file of "key=value" lines at a fixed place.
#ifndef KSV_CONFIGURATION_H
#define KSV_CONFIGURATION_H

#include "InputOutput.h"

#include <map>
#include <string>

namespace KSV {

// Where the configuration lives, and the timing log it asks for.
constexpr const char kConfigurationPath[] = "c:\\source\\config.ini";
constexpr const char kTimingLogPath[] = "c:\\source\\infos.log";

class Configuration {
public:
    // The configuration of a machine without the file: the layer path, no timing.
    Configuration() = default;
    // Reads the file at that place; a file that cannot be opened gives the configuration above.
    static Configuration read(const IO::Location& location);
    // The configuration of a file's text (UTF-16, as the file is read).
    static Configuration parse(const std::u16string& text);

    // The key's value: true or false as the file states it; false for a key the file does not
    // set; without a file, "layerenabled" is true and every other key false.
    bool value(const char* key) const;
    bool layerEnabled() const { return value("LayerEnabled"); }
    bool performanceCounterEnabled() const { return value("PerformanceCounterEnabled"); }

private:
    bool mFromFile = false;
    std::map<std::u16string, bool> mValues;
};

}  // namespace KSV

#endif
