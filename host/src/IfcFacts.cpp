// The few facts of an IFC file that the import library does not carry over: where the site lies,
// where north is, and which slabs are roofs. The file's entities are scanned as text, one
// "#id= TYPE(arguments);" at a time, without building the file's object graph.
#include "Loading.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <cstdlib>
#include <map>

namespace cadhost {
namespace {

// One entity: its number, its type in capitals and its top-level arguments as raw text.
struct Entity {
    long id = 0;
    std::string type;
    std::vector<std::string> arguments;
};

// Splits the arguments of an entity at the commas of its outer level; strings may hold any
// character, '' standing for a quote.
std::vector<std::string> splitArguments(const std::string& text, std::size_t open, std::size_t close)
{
    std::vector<std::string> out;
    int depth = 0;
    bool quoted = false;
    std::size_t start = open + 1;
    for (std::size_t i = open + 1; i < close; ++i) {
        const char c = text[i];
        if (quoted) {
            quoted = c != '\'';
        } else if (c == '\'') {
            quoted = true;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (c == ',' && depth == 0) {
            out.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(text.substr(start, close - start));
    for (std::string& argument : out) {
        const std::size_t first = argument.find_first_not_of(" \t\r\n");
        const std::size_t last = argument.find_last_not_of(" \t\r\n");
        argument = first == std::string::npos ? std::string() : argument.substr(first, last - first + 1);
    }
    return out;
}

// Calls back for every entity of the wanted types.
template <typename Visitor>
void scanEntities(const std::string& text, const std::vector<std::string>& types, Visitor visit)
{
    std::size_t i = text.find("DATA;");
    i = i == std::string::npos ? 0 : i + 5;
    while (i < text.size()) {
        const std::size_t hash = text.find('#', i);
        if (hash == std::string::npos) {
            return;
        }
        // Find the end of this entity: the ";" outside strings.
        std::size_t end = hash;
        bool quoted = false;
        std::size_t open = std::string::npos, close = std::string::npos;
        int depth = 0;
        for (; end < text.size(); ++end) {
            const char c = text[end];
            if (quoted) {
                quoted = c != '\'';
            } else if (c == '\'') {
                quoted = true;
            } else if (c == '(') {
                if (depth++ == 0 && open == std::string::npos) {
                    open = end;
                }
            } else if (c == ')') {
                if (--depth == 0) {
                    close = end;
                }
            } else if (c == ';' && depth <= 0) {
                break;
            }
        }
        const std::size_t equals = text.find('=', hash);
        if (open != std::string::npos && close != std::string::npos && equals < open) {
            Entity entity;
            entity.id = std::strtol(text.c_str() + hash + 1, nullptr, 10);
            std::size_t a = equals + 1;
            while (a < open && (text[a] == ' ' || text[a] == '\t')) {
                ++a;
            }
            entity.type = text.substr(a, open - a);
            while (!entity.type.empty() && std::isspace(static_cast<unsigned char>(entity.type.back()))) {
                entity.type.pop_back();
            }
            for (const std::string& wanted : types) {
                if (entity.type == wanted) {
                    entity.arguments = splitArguments(text, open, close);
                    visit(entity);
                    break;
                }
            }
        }
        i = end + 1;
    }
}

// An IFC string argument decoded: '' a quote, \S\c a Latin-1 letter, \X\hh one byte of Latin-1,
// \X2\hhhh...\X0\ UTF-16 units.
std::string decodeString(const std::string& argument)
{
    if (argument.size() < 2 || argument.front() != '\'' || argument.back() != '\'') {
        return std::string();
    }
    const std::string raw = argument.substr(1, argument.size() - 2);
    std::u16string units;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw.compare(i, 2, "''") == 0) {
            units.push_back(u'\'');
            ++i;
        } else if (raw.compare(i, 3, "\\S\\") == 0 && i + 3 < raw.size()) {
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(raw[i + 3]) + 128));
            i += 3;
        } else if (raw.compare(i, 3, "\\X\\") == 0 && i + 4 < raw.size()) {
            units.push_back(static_cast<char16_t>(std::strtoul(raw.substr(i + 3, 2).c_str(), nullptr, 16)));
            i += 4;
        } else if (raw.compare(i, 4, "\\X2\\") == 0) {
            const std::size_t stop = raw.find("\\X0\\", i + 4);
            if (stop == std::string::npos) {
                break;
            }
            for (std::size_t k = i + 4; k + 4 <= stop; k += 4) {
                units.push_back(static_cast<char16_t>(std::strtoul(raw.substr(k, 4).c_str(), nullptr, 16)));
            }
            i = stop + 3;
        } else {
            // Plain bytes of the file, taken as Latin-1 as IFC prescribes.
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(raw[i])));
        }
    }
    return GS::Utf16ToUtf8(units);
}

// A real of the file, whatever the process locale; not a number when it is none.
double realOf(const std::string& text)
{
    double value = std::numeric_limits<double>::quiet_NaN();
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// A compound plane angle "(degrees, minutes, seconds[, millionths])" in minutes of arc; false
// when the argument is not one.
bool minutesOfArc(const std::string& argument, int32_t* minutes)
{
    if (argument.size() < 3 || argument.front() != '(' || argument.back() != ')') {
        return false;
    }
    const std::vector<std::string> parts = splitArguments(argument, 0, argument.size() - 1);
    if (parts.size() < 2) {
        return false;
    }
    const double weights[4] = {60.0, 1.0, 1.0 / 60.0, 1.0 / 60e6};
    double total = 0.0;
    for (std::size_t i = 0; i < parts.size() && i < 4; ++i) {
        double value = 0.0;
        const char* end = parts[i].data() + parts[i].size();
        if (std::from_chars(parts[i].data(), end, value).ec != std::errc()) {
            return false;
        }
        total += value * weights[i];
    }
    if (!std::isfinite(total) || std::fabs(total) > 180.0 * 60.0) {
        return false;
    }
    *minutes = static_cast<int32_t>(std::lround(total));
    return true;
}

}  // namespace

IfcFacts readIfcFacts(const std::string& text)
{
    IfcFacts facts;
    std::vector<long> northReferences;
    std::map<long, std::pair<double, double>> directions;
    scanEntities(text, {"IFCSITE", "IFCBUILDING", "IFCBUILDINGSTOREY", "IFCSLAB", "IFCGEOMETRICREPRESENTATIONCONTEXT",
                        "IFCDIRECTION"},
                 [&](const Entity& e) {
        if ((e.type == "IFCSITE" || e.type == "IFCBUILDING" || e.type == "IFCBUILDINGSTOREY") && e.arguments.size() >= 3) {
            facts.spatialNames[decodeString(e.arguments[0])] = decodeString(e.arguments[2]);
        }
        if (e.type == "IFCSITE" && e.arguments.size() >= 11 && !facts.site.hasPlace) {
            int32_t latitude = 0, longitude = 0;
            if (minutesOfArc(e.arguments[9], &latitude) && minutesOfArc(e.arguments[10], &longitude) &&
                std::abs(latitude) <= 90 * 60) {
                facts.site.hasPlace = true;
                facts.site.latitude = latitude;
                facts.site.longitude = longitude;
                // The file states no time zone: one hour for each 15 degrees of longitude.
                facts.site.timeZone = static_cast<int32_t>(std::lround(longitude / 900.0)) * 60;
                facts.site.name = decodeString(e.arguments[2]);
                if (facts.site.name.empty()) {
                    facts.site.name = "Site";
                }
            }
        } else if (e.type == "IFCSLAB" && e.arguments.size() >= 9 && e.arguments[8] == ".ROOF.") {
            const std::string id = decodeString(e.arguments[0]);
            if (!id.empty()) {
                facts.roofSlabs.push_back(id);
            }
        } else if (e.type == "IFCGEOMETRICREPRESENTATIONCONTEXT" && e.arguments.size() >= 6 &&
                   decodeString(e.arguments[1]) == "Model" && e.arguments[5].size() > 1 && e.arguments[5][0] == '#') {
            northReferences.push_back(std::strtol(e.arguments[5].c_str() + 1, nullptr, 10));
        } else if (e.type == "IFCDIRECTION" && !e.arguments.empty()) {
            const std::string& list = e.arguments[0];
            if (list.size() > 2 && list.front() == '(') {
                const std::vector<std::string> parts = splitArguments(list, 0, list.size() - 1);
                if (parts.size() >= 2) {
                    directions[e.id] = {realOf(parts[0]), realOf(parts[1])};
                }
            }
        }
    });
    for (long reference : northReferences) {
        const auto found = directions.find(reference);
        if (found != directions.end() && std::isfinite(found->second.first) && std::isfinite(found->second.second) &&
            (found->second.first != 0.0 || found->second.second != 0.0)) {
            facts.site.hasNorth = true;
            facts.site.northAngle = std::atan2(found->second.second, found->second.first);
            break;
        }
    }
    return facts;
}

}  // namespace cadhost
