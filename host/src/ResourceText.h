// The text form of a module's resources, as written in an add-on's resource folder and carried
// inside the module: string lists, alerts, dialogs, icons and identifiers.
#ifndef CADHOST_RESOURCE_TEXT_H
#define CADHOST_RESOURCE_TEXT_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace cadhost {

struct AlertResource {
    std::string title;
    std::string text;
    std::string detail;
    std::vector<std::string> buttons;
};

struct DialogItemResource {
    int id = 0;
    std::string kind;     // button, checkbox, text, separator, icon
    int x = 0, y = 0, width = 0, height = 0;
    std::string text;
    int icon = 0;         // icon items: the icon resource
};

struct DialogResource {
    int width = 0;
    int height = 0;
    std::string title;
    std::vector<DialogItemResource> items;
};

struct IconResource {
    int width = 0;
    int height = 0;
    std::map<char, uint32_t> colors;   // 0xRRGGBB by character; '.' is transparent
    std::vector<std::string> rows;
};

// Every resource of a module, by type and number; texts are UTF-8.
struct ResourceSet {
    std::map<int, std::map<int, std::string>> strings;
    std::map<int, AlertResource> alerts;
    std::map<int, DialogResource> dialogs;
    std::map<int, IconResource> icons;
    std::map<int, std::vector<uint32_t>> identifiers;
};

// Adds the resources of one text to the set; false with "<source>:<line>: <problem>" in *error.
bool parseResourceText(const std::string& text, const std::string& source, ResourceSet* set,
                       std::string* error);

}  // namespace cadhost

#endif
