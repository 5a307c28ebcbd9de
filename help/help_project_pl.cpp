// velmark-help-project-pl SOURCE STAGE: writes the project of the Polish help into the stage
// folder, from the English project and the Polish topics, so that the two help files always
// hold the same topics under the same context numbers:
//
//   VELMARK_TRANSLATION_PL.hhp  the English project with "topics/" read as "topics_pl/" and
//                               the options of the Polish file (name, contents, index,
//                               language, title);
//   contents_pl.hhc             the English table of contents, each entry named by the
//                               <title> of its Polish topic;
//   index_pl.hhk                the keyword index, from the <meta name="keywords"> list
//                               (keywords parted by ";") and the <title> of every Polish topic.
//
// A topic of the English project without its Polish twin in topics_pl/ stops the build with
// the twin's name.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr char kEnglishFolder[] = "topics/";
constexpr char kPolishFolder[] = "topics_pl/";

struct Failure {
    std::string message;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw Failure{"cannot read " + path.string()};
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) {
        throw Failure{"cannot write " + path.string()};
    }
}

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Attribute values in the sitemaps are HTML text: the title and keywords are written as
// they stand in the topics, which already escape what HTML needs; only quotes remain.
std::string attributeText(const std::string& text) {
    std::string escaped;
    for (const char ch : text) {
        escaped += ch == '"' ? std::string("&quot;") : std::string(1, ch);
    }
    return escaped;
}

// What the sitemaps need of a Polish topic.
struct Topic {
    std::string title;
    std::vector<std::string> keywords;
};

Topic readTopic(const fs::path& path) {
    const std::string page = readFile(path);
    static const std::regex title(R"(<title>([^<]*)</title>)", std::regex::icase);
    static const std::regex keywords(R"re(<meta\s+name="keywords"\s+content="([^"]*)")re",
                                     std::regex::icase);
    Topic topic;
    std::smatch match;
    if (!std::regex_search(page, match, title) || trim(match[1]).empty()) {
        throw Failure{path.string() + " has no <title>"};
    }
    topic.title = trim(match[1]);
    if (std::regex_search(page, match, keywords)) {
        std::istringstream list(match[1]);
        for (std::string keyword; std::getline(list, keyword, ';');) {
            if (!trim(keyword).empty()) {
                topic.keywords.push_back(trim(keyword));
            }
        }
    }
    return topic;
}

// The Polish path of an English topic path, or the path itself when it is no topic.
std::string polishPath(const std::string& path) {
    if (path.rfind(kEnglishFolder, 0) == 0) {
        return kPolishFolder + path.substr(std::string(kEnglishFolder).size());
    }
    return path;
}

// The project: options of the Polish file, every topic path of [FILES] and [ALIAS] moved to
// topics_pl/. Returns the topic paths it names.
std::string polishProject(const std::string& english, std::set<std::string>& topics) {
    static const std::map<std::string, std::string> kOptions = {
        {"Compiled file", "VELMARK_TRANSLATION_PL.chm"},
        {"Contents file", "contents_pl.hhc"},
        {"Index file", "index_pl.hhk"},
        {"Language", "0x415 Polish"},
        {"Title", "VELMARK_TRANSLATION - pomoc"},
    };
    std::istringstream lines(english);
    std::string result;
    std::string section;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.starts_with('[')) {
            section = line;
        } else if (section == "[OPTIONS]") {
            const auto equals = line.find('=');
            const std::string key = line.substr(0, equals);
            if (equals != std::string::npos && kOptions.count(key) != 0) {
                line = key + "=" + kOptions.at(key);
            } else if (key == "Default topic") {
                line = key + "=" + polishPath(line.substr(equals + 1));
            }
        } else if (section == "[FILES]") {
            line = polishPath(line);
            if (line.starts_with(kPolishFolder)) {
                topics.insert(line);
            }
        } else if (section == "[ALIAS]") {
            const auto equals = line.find('=');
            if (equals != std::string::npos) {
                line = line.substr(0, equals + 1) + polishPath(line.substr(equals + 1));
            }
        }
        result += line + "\n";
    }
    return result;
}

// The table of contents: the English tree, each entry pointing at the Polish topic and named
// by its title.
std::string polishContents(const std::string& english, const std::map<std::string, Topic>& topics) {
    static const std::regex entry(
        R"re((<param\s+name="Name"\s+value=")[^"]*("\s*>\s*<param\s+name="Local"\s+value="))re"
        R"re(topics/([^"#]*)((?:#[^"]*)?"))re",
        std::regex::icase);
    std::string result;
    auto last = english.cbegin();
    for (std::sregex_iterator it(english.begin(), english.end(), entry), end; it != end; ++it) {
        const std::smatch& match = *it;
        const std::string path = kPolishFolder + match[3].str();
        const auto topic = topics.find(path);
        if (topic == topics.end()) {
            throw Failure{"the table of contents names " + path + ", which is not in the project"};
        }
        result.append(last, match[0].first);
        result += match[1].str() + attributeText(topic->second.title) + match[2].str() + path +
                  match[4].str();
        last = match[0].second;
    }
    result.append(last, english.cend());
    return result;
}

// Polish alphabetical order: ą after a, ć after c and so on, letter case aside. Letters
// outside the alphabet (and other characters) sort by their code after it.
std::u32string collationKey(const std::string& utf8) {
    static const std::u32string kAlphabet = U"aąbcćdeęfghijklłmnńoópqrsśtuvwxyzźż";
    static const std::u32string kCapitals = U"AĄBCĆDEĘFGHIJKLŁMNŃOÓPQRSŚTUVWXYZŹŻ";
    std::u32string key;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        char32_t code = byte;
        int length = 1;
        if (byte >= 0xF0) {
            code = byte & 0x07;
            length = 4;
        } else if (byte >= 0xE0) {
            code = byte & 0x0F;
            length = 3;
        } else if (byte >= 0xC0) {
            code = byte & 0x1F;
            length = 2;
        }
        for (int k = 1; k < length && i + static_cast<std::size_t>(k) < utf8.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += static_cast<std::size_t>(length);
        auto place = kAlphabet.find(code);
        if (place == std::u32string::npos) {
            place = kCapitals.find(code);
        }
        key += place != std::u32string::npos ? static_cast<char32_t>(0x100 + place)
                                             : code + (code >= 0x80 ? 0x200 : 0);
    }
    return key;
}

std::string polishIndex(const std::map<std::string, Topic>& topics) {
    // keyword -> the topics (title, path) it leads to
    std::map<std::string, std::set<std::pair<std::string, std::string>>> keywords;
    for (const auto& [path, topic] : topics) {
        keywords[topic.title].insert({topic.title, path});
        for (const std::string& keyword : topic.keywords) {
            keywords[keyword].insert({topic.title, path});
        }
    }
    std::vector<std::string> order;
    for (const auto& [keyword, targets] : keywords) {
        order.push_back(keyword);
    }
    std::stable_sort(order.begin(), order.end(), [](const std::string& a, const std::string& b) {
        return collationKey(a) < collationKey(b);
    });
    std::string index =
        "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<HTML>\n<HEAD>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
        "</HEAD>\n<BODY>\n<UL>\n";
    for (const std::string& keyword : order) {
        index += "  <LI><OBJECT type=\"text/sitemap\">\n    <param name=\"Name\" value=\"" +
                 attributeText(keyword) + "\">\n";
        for (const auto& [title, path] : keywords.at(keyword)) {
            index += "    <param name=\"Name\" value=\"" + attributeText(title) +
                     "\">\n    <param name=\"Local\" value=\"" + path + "\">\n";
        }
        index += "  </OBJECT>\n";
    }
    return index + "</UL>\n</BODY>\n</HTML>\n";
}

void generate(const fs::path& source, const fs::path& stage) {
    std::set<std::string> projectTopics;
    const std::string project =
        polishProject(readFile(source / "VELMARK_TRANSLATION.hhp"), projectTopics);
    std::map<std::string, Topic> topics;
    std::string missing;
    for (const std::string& path : projectTopics) {
        if (!fs::is_regular_file(source / path)) {
            missing += "\n  " + (source / path).string();
            continue;
        }
        topics[path] = readTopic(source / path);
    }
    if (!missing.empty()) {
        throw Failure{"these topics of the English help have no Polish twin yet:" + missing};
    }
    writeFile(stage / "VELMARK_TRANSLATION_PL.hhp", project);
    writeFile(stage / "contents_pl.hhc", polishContents(readFile(source / "contents.hhc"), topics));
    writeFile(stage / "index_pl.hhk", polishIndex(topics));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: velmark-help-project-pl SOURCE_FOLDER STAGE_FOLDER\n";
        return 2;
    }
    try {
        generate(argv[1], argv[2]);
    } catch (const Failure& failure) {
        std::cerr << "velmark-help-project-pl: " << failure.message << '\n';
        return 1;
    }
    return 0;
}
