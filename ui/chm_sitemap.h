#pragma once
// The table of contents (.hhc) and the index (.hhk) of a compiled help file: HTML "sitemaps",
// nested <UL> lists whose <LI> items each hold an <OBJECT type="text/sitemap"> with
// <param name="Name" value="..."> and <param name="Local" value="...">. No Qt here.

#include <string>
#include <string_view>
#include <vector>

namespace velmark::ui {

struct SitemapEntry {
    std::string Name;   // the text shown in the list
    std::string Local;  // the topic, as written (relative to the archive root); may be empty
    std::vector<SitemapEntry> Children;
};

// Reads a sitemap. Tag and attribute names count in any letter case, attribute values may be
// quoted with " or ' or not at all, and the entities &amp; &lt; &gt; &quot; &apos; and &#N;
// are decoded. Other tags and text are skipped; a list left open ends at the end of the text,
// and a stray </UL> is ignored, so a damaged file gives what could be read.
std::vector<SitemapEntry> ParseSitemap(std::string_view text);

}  // namespace velmark::ui
