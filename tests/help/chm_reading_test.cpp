// Reading compiled help files: the file-name rule, the context map and its longest-suffix
// resolution, the table of contents, the program's help as built in both languages (every
// context number of the program leads to a topic of its own, the same in English and Polish,
// every link inside it leads somewhere), the Polish project made from the English one, the
// copies in data/, and damaged files.

#include <QUrl>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "help/help_fixture.h"
#include "support/temp_dir.h"
#include "ui/chm_file.h"
#include "ui/chm_sitemap.h"
#include "ui/help_system.h"

namespace velmark::testing {
namespace {

using ui::ArchiveIndex;
using ui::ChmFile;
using ui::ParseContextMap;
using ui::ParseSitemap;
using ui::ResolveTopicPath;

std::string le32(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

// #IVB from pairs of (context, offset into #STRINGS), with its byte count in front.
std::string ivb(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& pairs) {
    std::string body;
    for (const auto& [context, offset] : pairs) {
        body += le32(context) + le32(offset);
    }
    return le32(static_cast<std::uint32_t>(body.size())) + body;
}

TEST(HelpFileName, OnlyNamesEndingInChmInAnyLetterCaseAreHelpFiles) {
    const struct {
        const char* name;
        bool accepted;
    } cases[] = {
        {"VELMARK_TRANSLATION.chm", true},
        {"./VELMARK_TRANSLATION.chm", true},
        {"/opt/velmark/HELP.CHM", true},
        {"Help.Chm", true},
        {"help.chm.bak", false},
        {"help.hlp", false},
        {"help.chmx", false},
        {"chm", false},
        {"", false},
        {"help.chm/topic.html", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::IsCompiledHelpFileName(c.name), c.accepted) << c.name;
    }
}

TEST(ContextMap, PairsPointIntoTheStringsFile) {
    const std::string strings = std::string("\0/topics/a.html\0topics/b.html\0", 30);
    const auto map = ParseContextMap(ivb({{10, 1}, {150, 16}}), strings);
    ASSERT_EQ(map.size(), 2u);
    EXPECT_EQ(map.at(10), "/topics/a.html");
    EXPECT_EQ(map.at(150), "topics/b.html");
}

TEST(ContextMap, DamagedPairsAreLeftOutAndACountBeyondTheDataIsCut) {
    const std::string strings = std::string("\0a.html\0", 8);
    // Offset 99 lies outside #STRINGS, offset 0 names an empty path.
    auto map = ParseContextMap(ivb({{1, 1}, {2, 99}, {3, 0}}), strings);
    EXPECT_EQ(map.size(), 1u);
    EXPECT_EQ(map.count(1), 1u);

    // A byte count larger than the file, and a last pair cut in the middle.
    std::string cut = ivb({{7, 1}, {8, 1}});
    cut.replace(0, 4, le32(1000));
    cut.resize(cut.size() - 3);
    map = ParseContextMap(cut, strings);
    EXPECT_EQ(map.size(), 1u);
    EXPECT_EQ(map.count(7), 1u);

    EXPECT_TRUE(ParseContextMap("", strings).empty());
    EXPECT_TRUE(ParseContextMap("\x08\0", strings).empty());
    // A path without its closing NUL ends with the file.
    map = ParseContextMap(ivb({{5, 0}}), "x.html");
    EXPECT_EQ(map.at(5), "x.html");
}

TEST(ContextMap, TopicPathsResolveByTheirLongestSuffixInTheArchive) {
    const ArchiveIndex archive(
        {"/a.html", "/topics/a.html", "/Topics/Deep/B.htm", "/topics/sort type.html"});
    const struct {
        const char* mapped;
        const char* expected;  // nullptr: no topic
    } cases[] = {
        // chmcmd 3.2.2 stores the source file's absolute path: the longest suffix wins over
        // the shorter one that also exists.
        {"/home/build/help/stage/topics/a.html", "/topics/a.html"},
        {"C:\\Help\\Project\\topics\\a.html", "/topics/a.html"},
        {"topics/a.html", "/topics/a.html"},
        {"/topics/a.html", "/topics/a.html"},
        {"/elsewhere/a.html", "/a.html"},
        {"a.html", "/a.html"},
        // Archive look-ups ignore letter case and give the archive's spelling.
        {"/x/TOPICS/deep/b.HTM", "/Topics/Deep/B.htm"},
        {"/x/topics/sort type.html", "/topics/sort type.html"},
        // An anchor stays with the topic.
        {"/build/topics/a.html#values", "/topics/a.html#values"},
        // A suffix counts from a path separator only: "xa.html" does not name "a.html".
        {"/build/topics/xa.html", nullptr},
        {"/build/missing.html", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto resolved = ResolveTopicPath(c.mapped, archive);
        if (c.expected == nullptr) {
            EXPECT_FALSE(resolved.has_value()) << c.mapped << " gave " << resolved.value_or("");
        } else {
            EXPECT_EQ(resolved.value_or("(none)"), c.expected) << c.mapped;
        }
    }
}

TEST(Sitemap, NestedListsGiveATreeOfNamesAndTopics) {
    const auto entries = ParseSitemap(R"(<html><body>
        <object type="text/site properties"><param name="ImageType" value="Folder"></object>
        <ul>
          <li><OBJECT TYPE="text/sitemap"><PARAM NAME="Name" VALUE="Main &amp; more">
              <param name="Local" value="topics/main.html"></OBJECT>
          <UL>
            <li><object type='text/sitemap'><param name=name value='Sort &#x41;&#66;'>
                <param name="local" value="topics/sort.html#values"></object>
            <!-- <li><object type="text/sitemap"><param name="Name" value="hidden"></object> -->
            <li><object type="text/sitemap"><param name="Name" value="Chapter"></object>
            <ul><li><object type="text/sitemap"><param name="Name" value="Leaf">
                <param name="Local" value="leaf.html"></object></ul>
          </ul>
          <li><object type="text/sitemap"><param name="Name" value="Second">
              <param name="Local" value="second.html"><param name="Local" value="ignored.html">
              </object>
        </ul></body></html>)");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Name, "Main & more");
    EXPECT_EQ(entries[0].Local, "topics/main.html");
    ASSERT_EQ(entries[0].Children.size(), 2u);
    EXPECT_EQ(entries[0].Children[0].Name, "Sort AB");
    EXPECT_EQ(entries[0].Children[0].Local, "topics/sort.html#values");
    EXPECT_EQ(entries[0].Children[1].Name, "Chapter");
    EXPECT_EQ(entries[0].Children[1].Local, "");
    ASSERT_EQ(entries[0].Children[1].Children.size(), 1u);
    EXPECT_EQ(entries[0].Children[1].Children[0].Local, "leaf.html");
    EXPECT_EQ(entries[1].Name, "Second");
    EXPECT_EQ(entries[1].Local, "second.html");
}

TEST(Sitemap, ADamagedSitemapGivesWhatCouldBeRead) {
    // A stray closing list, a list left open, a tag cut off at the end.
    const auto entries = ParseSitemap(
        "</ul><ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"One\">"
        "<param name=\"Local\" value=\"one.html\"></object><ul><li><object type=\"text/sitemap\">"
        "<param name=\"Name\" value=\"Two\"></object><li><object type=\"text/sitemap\"><param "
        "name=\"Name\" value=\"Th");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Name, "One");
    ASSERT_EQ(entries[0].Children.size(), 1u);
    EXPECT_EQ(entries[0].Children[0].Name, "Two");
    EXPECT_TRUE(ParseSitemap("").empty());
    EXPECT_TRUE(ParseSitemap("no markup at all").empty());
}

// ---------------------------------------------------------------------------------------------
// The program's help as the build compiled it

std::set<int> programContexts() {
    std::set<int> contexts;
    for (const auto& entry : ui::HelpContextTable()) {
        contexts.insert(entry.Context);
        if (entry.Opens != 0) {
            contexts.insert(entry.Opens);
        }
    }
    return contexts;
}

// One compiled help file of the program: English, or the Polish one with the same numbers.
struct BuiltHelpFile {
    const char* language;
    const char* built;
    const char* copyInData;
    const char* topicFolder;  // where its topics lie inside the file
};

void PrintTo(const BuiltHelpFile& file, std::ostream* stream) {
    *stream << file.language;
}

class BuiltHelp : public ::testing::TestWithParam<BuiltHelpFile> {};

TEST_P(BuiltHelp, EveryContextNumberOfTheProgramOpensATopicOfItsOwn) {
    const auto help = OpenHelp(GetParam().built);
    ASSERT_NE(help, nullptr);
    std::set<std::string> topics;
    for (const int context : programContexts()) {
        const auto topic = help->TopicForContext(static_cast<std::uint32_t>(context));
        ASSERT_TRUE(topic.has_value()) << "context " << context;
        EXPECT_TRUE(topic->starts_with(GetParam().topicFolder)) << *topic;
        const auto page = help->Read(*topic);
        ASSERT_TRUE(page.has_value()) << *topic;
        EXPECT_NE(page->find("<h1>"), std::string::npos) << *topic;
        EXPECT_TRUE(topics.insert(*topic).second) << *topic << " serves two context numbers";
    }
    // And the file maps no number the program does not use.
    for (const auto& [context, path] : help->ContextMap()) {
        EXPECT_EQ(programContexts().count(static_cast<int>(context)), 1u) << context << path;
    }
}

TEST_P(BuiltHelp, TheTableOfContentsHoldsEveryTopicAndLeadsOnlyToTopics) {
    const auto help = OpenHelp(GetParam().built);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->Files().Find(help->DefaultTopic()).has_value());
    EXPECT_TRUE(help->DefaultTopic().starts_with(GetParam().topicFolder)) << help->DefaultTopic();
    const auto sitemap = help->Read(help->ContentsFile());
    ASSERT_TRUE(sitemap.has_value());
    std::set<std::string> listed;
    std::vector<ui::SitemapEntry> pending = ParseSitemap(*sitemap);
    const std::regex title("<title>([^<]*)</title>");
    while (!pending.empty()) {
        const ui::SitemapEntry entry = pending.back();
        pending.pop_back();
        const auto topic = ResolveTopicPath(entry.Local, help->Files());
        ASSERT_TRUE(topic.has_value()) << entry.Name << " -> " << entry.Local;
        listed.insert(*topic);
        // The entries of the Polish contents are named by their topics' titles.
        std::smatch match;
        const std::string page = help->Read(*topic).value_or("");
        if (std::string(GetParam().language) == "Polish" && std::regex_search(page, match, title)) {
            EXPECT_EQ(entry.Name, match[1].str()) << *topic;
        }
        pending.insert(pending.end(), entry.Children.begin(), entry.Children.end());
    }
    for (const std::string& path : help->Files().Paths()) {
        if (path.ends_with(".html")) {
            EXPECT_EQ(listed.count(path), 1u) << path << " is missing from the contents";
        }
    }
}

TEST_P(BuiltHelp, EveryLinkPictureAndStyleSheetOfEveryTopicIsInTheFile) {
    const auto help = OpenHelp(GetParam().built);
    ASSERT_NE(help, nullptr);
    const std::regex reference(R"re((?:href|src)\s*=\s*"([^"]*)")re", std::regex::icase);
    int checked = 0;
    for (const std::string& path : help->Files().Paths()) {
        if (!path.ends_with(".html")) {
            continue;
        }
        EXPECT_TRUE(path.starts_with(GetParam().topicFolder)) << path << " of another language";
        const std::string page = help->Read(path).value_or("");
        const QUrl base(QStringLiteral("velmark-help:") + QString::fromStdString(path));
        for (std::sregex_iterator it(page.begin(), page.end(), reference), end; it != end; ++it) {
            const QUrl link(QString::fromStdString((*it)[1].str()));
            if (!link.isRelative()) {
                continue;  // web addresses
            }
            const std::string target = base.resolved(link).path().toStdString();
            EXPECT_TRUE(help->Files().Find(target).has_value())
                << path << " links to " << (*it)[1].str();
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

TEST_P(BuiltHelp, TheCopyInDataIsTheCurrentHelp) {
    const auto built = OpenHelp(GetParam().built);
    const auto copy = OpenHelp(GetParam().copyInData);
    ASSERT_NE(built, nullptr);
    ASSERT_NE(copy, nullptr) << "run: cmake --build BUILD --target velmark_help_data";
    EXPECT_EQ(copy->Files().Paths(), built->Files().Paths());
    for (const std::string& path : built->Files().Paths()) {
        EXPECT_EQ(copy->Read(path), built->Read(path))
            << path << " differs; run: cmake --build BUILD --target velmark_help_data";
    }
    for (const auto& [context, mapped] : built->ContextMap()) {
        EXPECT_EQ(copy->TopicForContext(context), built->TopicForContext(context)) << context;
    }
}

INSTANTIATE_TEST_SUITE_P(
    BothLanguages, BuiltHelp,
    ::testing::Values(BuiltHelpFile{"English", kBuiltHelpFile, VELMARK_DATA_HELP_FILE, "/topics/"},
                      BuiltHelpFile{"Polish", kBuiltHelpFilePl, VELMARK_DATA_HELP_FILE_PL,
                                    "/topics_pl/"}),
    [](const ::testing::TestParamInfo<BuiltHelpFile>& info) { return info.param.language; });

// The Polish help is the English one in Polish: every context number opens the twin of the
// English topic, and the twin is written in Polish, not a copy.
TEST(BuiltHelp, EveryContextNumberOpensTwinTopicsInTheTwoLanguages) {
    const auto english = OpenHelp(kBuiltHelpFile);
    const auto polish = OpenHelp(kBuiltHelpFilePl);
    ASSERT_NE(english, nullptr);
    ASSERT_NE(polish, nullptr);
    for (const int context : programContexts()) {
        const auto number = static_cast<std::uint32_t>(context);
        const std::string englishTopic = english->TopicForContext(number).value_or("?");
        const std::string polishTopic = polish->TopicForContext(number).value_or("?");
        EXPECT_EQ(polishTopic, "/topics_pl/" + englishTopic.substr(std::string("/topics/").size()))
            << "context " << context;
        EXPECT_NE(polish->Read(polishTopic), english->Read(englishTopic)) << polishTopic;
    }
}

std::set<std::string> topicNames(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(HelpSources, EveryEnglishTopicHasAPolishTwin) {
    const std::filesystem::path source = VELMARK_HELP_SOURCE_DIR;
    const std::set<std::string> english = topicNames(source / "topics");
    const std::set<std::string> polish = topicNames(source / "topics_pl");
    for (const std::string& name : english) {
        EXPECT_EQ(polish.count(name), 1u)
            << "help/topics/" << name << " has no Polish twin help/topics_pl/" << name;
    }
    for (const std::string& name : polish) {
        EXPECT_EQ(english.count(name), 1u) << "help/topics_pl/" << name << " twins no topic";
        EXPECT_NE(TempDir::read((source / "topics_pl" / name).string()).find("<html lang=\"pl\">"),
                  std::string::npos)
            << name;
    }
}

// A topic added to the English project without its Polish twin stops the build with the name
// of the missing twin; with the twin in place the Polish project takes the topic by itself.
TEST(HelpSources, ThePolishProjectFollowsTheEnglishOneAndNamesAMissingTwin) {
    const std::filesystem::path source = VELMARK_HELP_SOURCE_DIR;
    TempDir project;
    std::filesystem::create_directories(project.path() / "topics");
    std::filesystem::create_directories(project.path() / "topics_pl");
    std::filesystem::create_directories(project.path() / "stage");
    std::string hhp = TempDir::read((source / "VELMARK_TRANSLATION.hhp").string());
    hhp.replace(hhp.find("[FILES]\n"), 8, "[FILES]\ntopics/new_topic.html\n");
    hhp.replace(hhp.find("[ALIAS]\n"), 8, "[ALIAS]\nIDH_NEW_TOPIC=topics/new_topic.html\n");
    project.write("VELMARK_TRANSLATION.hhp", hhp);
    std::string contents = TempDir::read((source / "contents.hhc").string());
    contents.replace(contents.rfind("</UL>"), 5,
                     "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"New\">"
                     "<param name=\"Local\" value=\"topics/new_topic.html\"></OBJECT></UL>");
    project.write("contents.hhc", contents);
    for (const std::string& name : topicNames(source / "topics_pl")) {
        std::filesystem::copy_file(source / "topics_pl" / name,
                                   project.path() / "topics_pl" / name);
    }
    const std::string command = "'" VELMARK_HELP_PROJECT_PL "' '" + project.path().string() +
                                "' '" + project.file("stage") + "' 2>'" + project.file("err") + "'";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_NE(TempDir::read(project.file("err")).find("topics_pl/new_topic.html"),
              std::string::npos)
        << TempDir::read(project.file("err"));

    project.write("topics_pl/new_topic.html",
                  "<html lang=\"pl\"><head><meta name=\"keywords\" content=\"nowość; próba\">"
                  "<title>Nowy temat</title></head><body><h1>Nowy temat</h1></body></html>");
    ASSERT_EQ(std::system(command.c_str()), 0) << TempDir::read(project.file("err"));
    const std::string stage = project.file("stage/");
    const std::string polishHhp = TempDir::read(stage + "VELMARK_TRANSLATION_PL.hhp");
    EXPECT_NE(polishHhp.find("\ntopics_pl/new_topic.html\n"), std::string::npos);
    EXPECT_NE(polishHhp.find("IDH_NEW_TOPIC=topics_pl/new_topic.html\n"), std::string::npos);
    EXPECT_EQ(polishHhp.find("=topics/"), std::string::npos);
    EXPECT_NE(TempDir::read(stage + "contents_pl.hhc")
                  .find("value=\"Nowy temat\">"
                        "<param name=\"Local\" value=\"topics_pl/new_topic.html\">"),
              std::string::npos);
    const std::string index = TempDir::read(stage + "index_pl.hhk");
    for (const char* keyword : {"nowość", "próba", "Nowy temat"}) {
        EXPECT_NE(index.find(std::string("value=\"") + keyword + "\""), std::string::npos)
            << keyword;
    }
    // Polish order: "nowość" before "Nowy temat" (ś before y), "próba" after both.
    EXPECT_LT(index.find("\"nowość\""), index.find("\"Nowy temat\""));
    EXPECT_LT(index.find("\"Nowy temat\""), index.find("\"próba\""));
}

// ---------------------------------------------------------------------------------------------
// Damaged files

TEST(DamagedHelpFile, FilesThatAreNoHelpFilesAreRefusedAsUnreadable) {
    TempDir dir;
    const std::string cases[] = {"", "ITSF", std::string(5000, 'x'),
                                 TempDir::read(kBuiltHelpFile).substr(0, 64)};
    for (const std::string& bytes : cases) {
        const std::string path = dir.write("broken.chm", bytes);
        ChmFile::OpenFailure failure = ChmFile::OpenFailure::None;
        EXPECT_EQ(ChmFile::Open(path, failure), nullptr) << bytes.size() << " bytes";
        EXPECT_EQ(failure, ChmFile::OpenFailure::Unreadable);
    }
    ChmFile::OpenFailure failure = ChmFile::OpenFailure::None;
    EXPECT_EQ(ChmFile::Open(dir.file("absent.chm"), failure), nullptr);
    EXPECT_EQ(failure, ChmFile::OpenFailure::Missing);
    // A folder is no help file either.
    std::filesystem::create_directory(dir.path() / "folder.chm");
    EXPECT_EQ(ChmFile::Open(dir.file("folder.chm"), failure), nullptr);
    EXPECT_EQ(failure, ChmFile::OpenFailure::Missing);
}

// A help file cut short (an interrupted copy or download) is refused as damaged: chmlib would
// give the missing part of a topic as zeros and call it read.
TEST(DamagedHelpFile, ATruncatedFileIsRefused) {
    const std::string intact = TempDir::read(kBuiltHelpFile);
    TempDir dir;
    for (const std::size_t length :
         {intact.size() / 4, intact.size() / 2, intact.size() - 100, intact.size() - 1}) {
        const std::string path = dir.write("cut.chm", intact.substr(0, length));
        ChmFile::OpenFailure failure = ChmFile::OpenFailure::None;
        EXPECT_EQ(ChmFile::Open(path, failure), nullptr) << length << " of " << intact.size();
        EXPECT_EQ(failure, ChmFile::OpenFailure::Unreadable) << length;
    }
    const std::string path = dir.write("whole.chm", intact);
    ChmFile::OpenFailure failure = ChmFile::OpenFailure::None;
    EXPECT_NE(ChmFile::Open(path, failure), nullptr);
}

}  // namespace
}  // namespace velmark::testing
