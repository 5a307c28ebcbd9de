#include "ui/chm_sitemap.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

namespace velmark::ui {
namespace {

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_' || c == ':';
}

bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// A code point as UTF-8 (the viewer reads sitemap texts as UTF-8 when they are valid UTF-8).
void appendUtf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x110000) {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Decodes character references; an unknown or broken one stays as written.
std::string decodeEntities(std::string_view text) {
    static const std::map<std::string, char, std::less<>> kNamed{
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t semicolon = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (semicolon == std::string_view::npos || semicolon - i > 10) {
            out += text[i];
            continue;
        }
        const std::string_view name = text.substr(i + 1, semicolon - i - 1);
        if (const auto named = kNamed.find(lowerCase(name)); named != kNamed.end()) {
            out += named->second;
            i = semicolon;
            continue;
        }
        unsigned long code = 0;
        const bool hex = name.size() > 1 && name[0] == '#' && (name[1] == 'x' || name[1] == 'X');
        const std::string_view digits = name.substr(hex ? 2 : 1);
        const auto parsed =
            name.size() > 1 && name[0] == '#'
                ? std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10)
                : std::from_chars_result{digits.data(), std::errc::invalid_argument};
        if (parsed.ec != std::errc() || parsed.ptr != digits.data() + digits.size()) {
            out += text[i];
            continue;
        }
        appendUtf8(out, code);
        i = semicolon;
    }
    return out;
}

struct Tag {
    std::string Name;  // lower case, without the "/" of a closing tag
    bool Closing = false;
    std::map<std::string, std::string> Attributes;  // lower-case names, decoded values
};

// Reads the tag whose "<" is at `at`; leaves `at` after its ">" (or at the end of the text).
Tag readTag(std::string_view text, std::size_t& at) {
    Tag tag;
    ++at;
    if (at < text.size() && text[at] == '/') {
        tag.Closing = true;
        ++at;
    }
    const std::size_t nameStart = at;
    while (at < text.size() && isNameChar(text[at])) {
        ++at;
    }
    tag.Name = lowerCase(text.substr(nameStart, at - nameStart));
    while (at < text.size() && text[at] != '>') {
        if (!isNameChar(text[at])) {
            ++at;
            continue;
        }
        const std::size_t attributeStart = at;
        while (at < text.size() && isNameChar(text[at])) {
            ++at;
        }
        std::string name = lowerCase(text.substr(attributeStart, at - attributeStart));
        while (at < text.size() && isBlank(text[at])) {
            ++at;
        }
        std::string value;
        if (at < text.size() && text[at] == '=') {
            ++at;
            while (at < text.size() && isBlank(text[at])) {
                ++at;
            }
            if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
                const char quote = text[at];
                const std::size_t end = std::min(text.find(quote, at + 1), text.size());
                value = decodeEntities(text.substr(at + 1, end - at - 1));
                at = std::min(end + 1, text.size());
            } else {
                const std::size_t valueStart = at;
                while (at < text.size() && !isBlank(text[at]) && text[at] != '>') {
                    ++at;
                }
                value = decodeEntities(text.substr(valueStart, at - valueStart));
            }
        }
        tag.Attributes.emplace(std::move(name), std::move(value));
    }
    if (at < text.size()) {
        ++at;
    }
    return tag;
}

std::string attribute(const Tag& tag, const char* name) {
    const auto found = tag.Attributes.find(name);
    return found == tag.Attributes.end() ? std::string() : found->second;
}

}  // namespace

std::vector<SitemapEntry> ParseSitemap(std::string_view text) {
    std::vector<SitemapEntry> root;
    // invariant: levels.back() is the list that the next entry joins; only that list grows, so
    // the pointers to the lists below it stay valid.
    std::vector<std::vector<SitemapEntry>*> levels{&root};
    bool inSitemapObject = false;
    SitemapEntry entry;
    std::size_t at = 0;
    while ((at = text.find('<', at)) != std::string_view::npos) {
        if (text.substr(at, 4) == "<!--") {
            const std::size_t end = text.find("-->", at + 4);
            at = end == std::string_view::npos ? text.size() : end + 3;
            continue;
        }
        const Tag tag = readTag(text, at);
        if (tag.Name == "ul" && !tag.Closing) {
            std::vector<SitemapEntry>* list = levels.back();
            // A list without an item before it joins the list it stands in.
            levels.push_back(list->empty() ? list : &list->back().Children);
        } else if (tag.Name == "ul" && levels.size() > 1) {
            levels.pop_back();
        } else if (tag.Name == "object" && !tag.Closing) {
            inSitemapObject = lowerCase(attribute(tag, "type")) == "text/sitemap";
            entry = SitemapEntry();
        } else if (tag.Name == "param" && inSitemapObject) {
            const std::string name = lowerCase(attribute(tag, "name"));
            std::string& field = name == "name" ? entry.Name : entry.Local;
            if ((name == "name" || name == "local") && field.empty()) {
                field = attribute(tag, "value");
            }
        } else if (tag.Name == "object" && inSitemapObject) {
            inSitemapObject = false;
            if (!entry.Name.empty() || !entry.Local.empty()) {
                levels.back()->push_back(std::move(entry));
            }
        }
    }
    return root;
}

}  // namespace velmark::ui
