// Reading compiled help files: the file-name rule, the context map and its longest-suffix
// resolution, the table of contents, the program's help as built (every context number of the
// program leads to a topic of its own, every link inside it leads somewhere), the copy in
// data/, and damaged files.

#include <QUrl>

#include <gtest/gtest.h>

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

TEST(BuiltHelp, EveryContextNumberOfTheProgramOpensATopicOfItsOwn) {
    const auto help = OpenHelp(kBuiltHelpFile);
    ASSERT_NE(help, nullptr);
    std::set<std::string> topics;
    for (const int context : programContexts()) {
        const auto topic = help->TopicForContext(static_cast<std::uint32_t>(context));
        ASSERT_TRUE(topic.has_value()) << "context " << context;
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

TEST(BuiltHelp, TheTableOfContentsHoldsEveryTopicAndLeadsOnlyToTopics) {
    const auto help = OpenHelp(kBuiltHelpFile);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->Files().Find(help->DefaultTopic()).has_value());
    const auto sitemap = help->Read(help->ContentsFile());
    ASSERT_TRUE(sitemap.has_value());
    std::set<std::string> listed;
    std::vector<ui::SitemapEntry> pending = ParseSitemap(*sitemap);
    while (!pending.empty()) {
        const ui::SitemapEntry entry = pending.back();
        pending.pop_back();
        const auto topic = ResolveTopicPath(entry.Local, help->Files());
        ASSERT_TRUE(topic.has_value()) << entry.Name << " -> " << entry.Local;
        listed.insert(*topic);
        pending.insert(pending.end(), entry.Children.begin(), entry.Children.end());
    }
    for (const std::string& path : help->Files().Paths()) {
        if (path.ends_with(".html")) {
            EXPECT_EQ(listed.count(path), 1u) << path << " is missing from the contents";
        }
    }
}

TEST(BuiltHelp, EveryLinkPictureAndStyleSheetOfEveryTopicIsInTheFile) {
    const auto help = OpenHelp(kBuiltHelpFile);
    ASSERT_NE(help, nullptr);
    const std::regex reference(R"re((?:href|src)\s*=\s*"([^"]*)")re", std::regex::icase);
    int checked = 0;
    for (const std::string& path : help->Files().Paths()) {
        if (!path.ends_with(".html")) {
            continue;
        }
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

TEST(BuiltHelp, TheCopyInDataIsTheCurrentHelp) {
    const auto built = OpenHelp(kBuiltHelpFile);
    const auto copy = OpenHelp(VELMARK_DATA_HELP_FILE);
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
