#include "Configuration.h"

#include <cstring>
#include <vector>

namespace KSV {
namespace {

std::u16string lowerCase(std::u16string text)
{
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return text;
}

// The file's bytes as wide text: UTF-16 with its byte-order mark, else UTF-8 (with or without one).
std::u16string wideText(const std::string& bytes)
{
    const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) {
        const bool little = byte(0) == 0xFF;
        std::u16string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text += static_cast<char16_t>(little ? byte(i) | (byte(i + 1) << 8) : (byte(i) << 8) | byte(i + 1));
        }
        return text;
    }
    const std::size_t skip = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    return GS::Utf8ToUtf16(bytes.substr(skip));
}

}  // namespace

Configuration Configuration::read(const IO::Location& location)
{
    IO::File file(location);
    if (file.GetStatus() != NoError || file.Open(IO::File::ReadMode) != NoError) {
        return Configuration();
    }
    std::string bytes;
    std::vector<char> chunk(4096);
    int32_t got = 0;
    do {
        file.ReadBin(chunk.data(), static_cast<int32_t>(chunk.size()), &got);
        bytes.append(chunk.data(), static_cast<std::size_t>(got));
    } while (got == static_cast<int32_t>(chunk.size()) && bytes.size() < (1u << 20));
    return parse(wideText(bytes));
}

Configuration Configuration::parse(const std::u16string& text)
{
    Configuration configuration;
    configuration.mFromFile = true;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos) {
            end = text.size();
        }
        std::u16string line = text.substr(start, end - start);
        start = end + 1;
        // Text mode ends lines with "\r\n" on the host's home system.
        if (!line.empty() && line.back() == u'\r') {
            line.pop_back();
        }
        const std::size_t equals = line.find(u'=');
        if (line.empty() || equals == std::u16string::npos) {
            continue;
        }
        std::size_t value = equals + 1;
        while (value < line.size() && (line[value] == u' ' || line[value] == u'\t')) {
            ++value;
        }
        const std::u16string word = line.substr(value);
        const std::u16string key = lowerCase(line.substr(0, equals));
        if (word == u"true") {
            configuration.mValues[key] = true;
        } else if (word == u"false") {
            configuration.mValues[key] = false;
        }
    }
    return configuration;
}

bool Configuration::value(const char* key) const
{
    const std::u16string wanted = lowerCase(GS::Utf8ToUtf16(key != nullptr ? key : ""));
    if (!mFromFile) {
        return wanted == u"layerenabled";
    }
    const auto found = mValues.find(wanted);
    return found != mValues.end() && found->second;
}

}  // namespace KSV
