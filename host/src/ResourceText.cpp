#include "ResourceText.h"

#include <cstdlib>
#include <set>

namespace cadhost {
namespace {

struct Token {
    bool quoted = false;
    std::string text;
};

// Splits a line into words and quoted texts; false on an unterminated text or a bad escape.
bool tokenize(const std::string& line, std::vector<Token>* tokens, std::string* problem)
{
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#') {
            break;
        }
        Token token;
        if (c == '"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    token.text += d;
                    continue;
                }
                if (i >= line.size()) {
                    break;
                }
                const char e = line[i++];
                if (e == 'n') {
                    token.text += '\n';
                } else if (e == '"' || e == '\\') {
                    token.text += e;
                } else {
                    *problem = std::string("unknown escape \\") + e;
                    return false;
                }
            }
            if (!closed) {
                *problem = "text without its closing quote";
                return false;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' &&
                   line[i] != '"') {
                token.text += line[i++];
            }
        }
        tokens->push_back(token);
    }
    return true;
}

bool toInt(const Token& token, long low, long high, long* value)
{
    if (token.quoted || token.text.empty()) {
        return false;
    }
    char* end = nullptr;
    const long v = std::strtol(token.text.c_str(), &end, 0);
    if (*end != '\0' || v < low || v > high) {
        return false;
    }
    *value = v;
    return true;
}

class Parser {
public:
    Parser(const std::string& source, ResourceSet* set) : mSource(source), mSet(set) {}

    bool run(const std::string& text, std::string* error)
    {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) {
                end = text.size();
            }
            ++mLine;
            std::vector<Token> tokens;
            std::string problem;
            if (!tokenize(text.substr(start, end - start), &tokens, &problem) ||
                (!tokens.empty() && !line(tokens, &problem))) {
                *error = mSource + ":" + std::to_string(mLine) + ": " + problem;
                return false;
            }
            start = end + 1;
        }
        if (!mBlock.empty()) {
            *error = mSource + ":" + std::to_string(mLine) + ": " + mBlock + " " +
                     std::to_string(mId) + " has no \"end\"";
            return false;
        }
        return true;
    }

private:
    bool number(const Token& token, long low, long high, long* value, std::string* problem,
                const char* what)
    {
        if (!toInt(token, low, high, value)) {
            *problem = std::string("bad ") + what + " \"" + token.text + "\"";
            return false;
        }
        return true;
    }

    bool open(const std::string& kind, std::map<int, bool>& seen, const std::vector<Token>& t,
              std::string* problem)
    {
        long id = 0;
        if (t.size() < 2 || !number(t[1], 0, 32767, &id, problem, "resource number")) {
            if (t.size() < 2) {
                *problem = kind + " without its number";
            }
            return false;
        }
        if (seen[static_cast<int>(id)]) {
            *problem = kind + " " + std::to_string(id) + " is defined twice";
            return false;
        }
        seen[static_cast<int>(id)] = true;
        mBlock = kind;
        mId = static_cast<int>(id);
        return true;
    }

    bool line(const std::vector<Token>& t, std::string* problem)
    {
        const std::string& word = t[0].text;
        if (t[0].quoted && mBlock != "icon") {
            *problem = "a line starts with a text";
            return false;
        }
        if (mBlock.empty()) {
            return outer(t, problem);
        }
        if (word == "end" && !t[0].quoted) {
            return close(problem);
        }
        if (mBlock == "strings") {
            long index = 0;
            if (!number(t[0], 1, 32767, &index, problem, "item number")) {
                return false;
            }
            if (t.size() != 2 || !t[1].quoted) {
                *problem = "string item " + t[0].text + " needs one quoted text";
                return false;
            }
            auto& list = mSet->strings[mId];
            if (!list.emplace(static_cast<int>(index), t[1].text).second) {
                *problem = "string item " + t[0].text + " is defined twice";
                return false;
            }
            return true;
        }
        if (mBlock == "alert") {
            AlertResource& alert = mSet->alerts[mId];
            if (t.size() != 2 || !t[1].quoted) {
                *problem = "alert line \"" + word + "\" needs one quoted text";
                return false;
            }
            if (word == "title") {
                alert.title = t[1].text;
            } else if (word == "text") {
                alert.text = t[1].text;
            } else if (word == "detail") {
                alert.detail = t[1].text;
            } else if (word == "button") {
                alert.buttons.push_back(t[1].text);
            } else {
                *problem = "unknown alert line \"" + word + "\"";
                return false;
            }
            return true;
        }
        if (mBlock == "dialog") {
            return dialogItem(t, problem);
        }
        return iconLine(t, problem);
    }

    bool outer(const std::vector<Token>& t, std::string* problem)
    {
        const std::string& word = t[0].text;
        if (word == "strings") {
            if (!open(word, mSeenStrings, t, problem)) {
                return false;
            }
            mSet->strings[mId];
            return extra(t, 2, problem);
        }
        if (word == "alert") {
            if (!open(word, mSeenAlerts, t, problem)) {
                return false;
            }
            mSet->alerts[mId];
            return extra(t, 2, problem);
        }
        if (word == "dialog") {
            if (!open(word, mSeenDialogs, t, problem)) {
                return false;
            }
            long w = 0, h = 0;
            if (t.size() != 5 || !number(t[2], 1, 4000, &w, problem, "width") ||
                !number(t[3], 1, 4000, &h, problem, "height") || !t[4].quoted) {
                if (problem->empty()) {
                    *problem = "dialog needs a width, a height and a quoted title";
                }
                return false;
            }
            DialogResource& dialog = mSet->dialogs[mId];
            dialog.width = static_cast<int>(w);
            dialog.height = static_cast<int>(h);
            dialog.title = t[4].text;
            return true;
        }
        if (word == "icon") {
            if (!open(word, mSeenIcons, t, problem)) {
                return false;
            }
            long w = 0, h = 0;
            if (t.size() != 4 || !number(t[2], 1, 256, &w, problem, "width") ||
                !number(t[3], 1, 256, &h, problem, "height")) {
                if (problem->empty()) {
                    *problem = "icon needs a width and a height";
                }
                return false;
            }
            IconResource& icon = mSet->icons[mId];
            icon.width = static_cast<int>(w);
            icon.height = static_cast<int>(h);
            return true;
        }
        if (word == "identifier") {
            long id = 0;
            if (t.size() < 3 || !number(t[1], 0, 32767, &id, problem, "resource number")) {
                if (problem->empty()) {
                    *problem = "identifier needs a number and its values";
                }
                return false;
            }
            std::vector<uint32_t> values;
            for (std::size_t i = 2; i < t.size(); ++i) {
                long v = 0;
                if (!number(t[i], 0, 0xFFFFFFFFL, &v, problem, "identifier value")) {
                    return false;
                }
                values.push_back(static_cast<uint32_t>(v));
            }
            if (!mSet->identifiers.emplace(static_cast<int>(id), values).second) {
                *problem = "identifier " + std::to_string(id) + " is defined twice";
                return false;
            }
            return true;
        }
        *problem = "unknown resource kind \"" + word + "\"";
        return false;
    }

    bool extra(const std::vector<Token>& t, std::size_t count, std::string* problem)
    {
        if (t.size() != count) {
            *problem = "unexpected \"" + t[count].text + "\" after " + t[0].text + " " + t[1].text;
            return false;
        }
        return true;
    }

    bool dialogItem(const std::vector<Token>& t, std::string* problem)
    {
        static const std::set<std::string> kinds = {"button", "checkbox", "text", "separator",
                                                    "icon"};
        if (t[0].text != "item" || t.size() < 7) {
            *problem = "dialog line needs: item NUMBER KIND X Y WIDTH HEIGHT [TEXT | ICON]";
            return false;
        }
        DialogItemResource item;
        long v[5] = {};
        if (!number(t[1], 1, 32767, &v[0], problem, "item number")) {
            return false;
        }
        item.id = static_cast<int>(v[0]);
        item.kind = t[2].text;
        if (t[2].quoted || kinds.count(item.kind) == 0) {
            *problem = "unknown item kind \"" + item.kind + "\"";
            return false;
        }
        for (int i = 1; i <= 4; ++i) {
            if (!number(t[2 + i], 0, 4000, &v[i], problem, "item place")) {
                return false;
            }
        }
        item.x = static_cast<int>(v[1]);
        item.y = static_cast<int>(v[2]);
        item.width = static_cast<int>(v[3]);
        item.height = static_cast<int>(v[4]);
        if (t.size() > 8) {
            *problem = "unexpected \"" + t[8].text + "\" after item " + t[1].text;
            return false;
        }
        if (t.size() == 8) {
            long icon = 0;
            if (item.kind == "icon") {
                if (!number(t[7], 0, 32767, &icon, problem, "icon number")) {
                    return false;
                }
                item.icon = static_cast<int>(icon);
            } else if (t[7].quoted) {
                item.text = t[7].text;
            } else {
                *problem = "item " + t[1].text + " needs a quoted text";
                return false;
            }
        }
        DialogResource& dialog = mSet->dialogs[mId];
        for (const DialogItemResource& other : dialog.items) {
            if (other.id == item.id) {
                *problem = "item " + t[1].text + " is defined twice";
                return false;
            }
        }
        dialog.items.push_back(item);
        return true;
    }

    bool iconLine(const std::vector<Token>& t, std::string* problem)
    {
        IconResource& icon = mSet->icons[mId];
        if (!t[0].quoted && t[0].text == "color") {
            if (t.size() != 3 || t[1].text.size() != 1 || t[2].text.size() != 6) {
                *problem = "color line needs: color CHARACTER RRGGBB";
                return false;
            }
            char* end = nullptr;
            const unsigned long rgb = std::strtoul(t[2].text.c_str(), &end, 16);
            if (*end != '\0') {
                *problem = "bad colour \"" + t[2].text + "\"";
                return false;
            }
            icon.colors[t[1].text[0]] = static_cast<uint32_t>(rgb);
            return true;
        }
        if (!t[0].quoted || t.size() != 1 || static_cast<int>(t[0].text.size()) != icon.width) {
            *problem = "icon row must be one quoted text of " + std::to_string(icon.width) +
                       " characters";
            return false;
        }
        for (char c : t[0].text) {
            if (c != '.' && icon.colors.count(c) == 0) {
                *problem = std::string("icon row uses the undefined colour '") + c + "'";
                return false;
            }
        }
        icon.rows.push_back(t[0].text);
        return true;
    }

    bool close(std::string* problem)
    {
        if (mBlock == "icon") {
            const IconResource& icon = mSet->icons[mId];
            if (static_cast<int>(icon.rows.size()) != icon.height) {
                *problem = "icon " + std::to_string(mId) + " has " +
                           std::to_string(icon.rows.size()) + " rows instead of " +
                           std::to_string(icon.height);
                return false;
            }
        }
        mBlock.clear();
        return true;
    }

    std::string mSource;
    ResourceSet* mSet;
    int mLine = 0;
    std::string mBlock;
    int mId = 0;
    std::map<int, bool> mSeenStrings, mSeenAlerts, mSeenDialogs, mSeenIcons;
};

}  // namespace

bool parseResourceText(const std::string& text, const std::string& source, ResourceSet* set,
                       std::string* error)
{
    return Parser(source, set).run(text, error);
}

}  // namespace cadhost
