// Resource modules: the host reads a module's resources from its ".gsres" section, which the
// add-on's build fills with the text of its resource files.
#include "GSRoot.h"
#include "HostState.h"

#include <cstring>
#include <elf.h>

namespace cadhost {
namespace {

// The bytes of a named section of an ELF file; false when the file has no such section.
bool elfSection(const std::string& image, const char* wanted, std::string* section)
{
    if (image.size() < sizeof(Elf64_Ehdr) || std::memcmp(image.data(), ELFMAG, SELFMAG) != 0 ||
        image[EI_CLASS] != ELFCLASS64) {
        return false;
    }
    Elf64_Ehdr header;
    std::memcpy(&header, image.data(), sizeof header);
    const uint64_t count = header.e_shnum;
    if (header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shoff > image.size() ||
        count > (image.size() - header.e_shoff) / sizeof(Elf64_Shdr) || header.e_shstrndx >= count) {
        return false;
    }
    auto sectionAt = [&](uint64_t i) {
        Elf64_Shdr s;
        std::memcpy(&s, image.data() + header.e_shoff + i * sizeof s, sizeof s);
        return s;
    };
    auto inside = [&](const Elf64_Shdr& s) {
        return s.sh_type != SHT_NOBITS && s.sh_offset <= image.size() &&
               s.sh_size <= image.size() - s.sh_offset;
    };
    const Elf64_Shdr names = sectionAt(header.e_shstrndx);
    if (!inside(names)) {
        return false;
    }
    const std::size_t wantedLength = std::strlen(wanted);
    for (uint64_t i = 0; i < count; ++i) {
        const Elf64_Shdr s = sectionAt(i);
        if (s.sh_name >= names.sh_size || names.sh_size - s.sh_name <= wantedLength) {
            continue;
        }
        const char* name = image.data() + names.sh_offset + s.sh_name;
        if (std::memcmp(name, wanted, wantedLength + 1) == 0 && inside(s)) {
            section->assign(image.data() + s.sh_offset, s.sh_size);
            return true;
        }
    }
    return false;
}

const ResourceSet* moduleResources(GSResModule module)
{
    if (module == ActiveResModule) {
        module = host().activeModule;
    }
    const auto found = host().modules.find(module);
    return found == host().modules.end() ? nullptr : &found->second.resources;
}

}  // namespace

const ResourceSet* resourcesOf(GSResModule module) { return moduleResources(module); }

}  // namespace cadhost

using cadhost::host;

const GSResModule InvalidResModule = -1;
const GSResModule ActiveResModule = -2;
const GSResModule HostResModule = 0;

GSResModule RSAddModule(const char* modulePath)
{
    if (modulePath == nullptr || *modulePath == '\0') {
        return InvalidResModule;
    }
    std::string image;
    std::string text;
    if (!cadhost::readWholeFile(modulePath, &image) || !cadhost::elfSection(image, ".gsres", &text)) {
        DBPrintf("Host:: no resources in \"%s\"\n", modulePath);
        return InvalidResModule;
    }
    // The section holds the resource texts, each introduced by a NUL-terminated source name.
    cadhost::ResourceModule module;
    module.path = modulePath;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t nameEnd = text.find('\0', at);
        if (nameEnd == std::string::npos) {
            break;
        }
        const std::size_t bodyEnd = text.find('\0', nameEnd + 1);
        const std::string source = text.substr(at, nameEnd - at);
        const std::string body = text.substr(nameEnd + 1, (bodyEnd == std::string::npos ? text.size() : bodyEnd) - nameEnd - 1);
        std::string error;
        if (!cadhost::parseResourceText(body, source, &module.resources, &error)) {
            DBPrintf("Host:: bad resources in \"%s\": %s\n", modulePath, error.c_str());
            return InvalidResModule;
        }
        if (bodyEnd == std::string::npos) {
            break;
        }
        at = bodyEnd + 1;
    }
    const GSResModule number = host().nextModule++;
    host().modules.emplace(number, std::move(module));
    return number;
}

void RSRemoveModule(GSResModule module)
{
    host().modules.erase(module);
    if (host().activeModule == module) {
        host().activeModule = HostResModule;
    }
}

GSResModule RSSetActiveModule(GSResModule module)
{
    const GSResModule previous = host().activeModule;
    host().activeModule = module;
    return previous;
}

GSResModule RSGetActiveModule() { return host().activeModule; }

bool RSGetIndString(GS::UniString* text, GSResID resID, int32_t index, GSResModule module)
{
    const cadhost::ResourceSet* set = cadhost::moduleResources(module);
    if (text == nullptr || set == nullptr) {
        return false;
    }
    const auto list = set->strings.find(resID);
    if (list == set->strings.end()) {
        return false;
    }
    const auto item = list->second.find(index);
    if (item == list->second.end()) {
        return false;
    }
    *text = GS::UniString(item->second.c_str());
    return true;
}

bool RSGetIndString(char* buffer, int32_t bufferSize, GSResID resID, int32_t index,
                    GSResModule module)
{
    GS::UniString text;
    if (buffer == nullptr || bufferSize <= 0 || !RSGetIndString(&text, resID, index, module)) {
        return false;
    }
    const std::string bytes = text.ToCStr();
    if (bytes.size() + 1 > static_cast<std::size_t>(bufferSize)) {
        return false;
    }
    std::memcpy(buffer, bytes.c_str(), bytes.size() + 1);
    return true;
}
