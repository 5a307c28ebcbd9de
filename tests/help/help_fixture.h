#pragma once
// Help files for the help tests: the program's help as the build compiled it, and a small help
// file compiled here with chmcmd from a few hand-written pages (nested folders, a picture,
// links of every kind, a table of contents and a two-entry context map).

#include <QDir>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "support/temp_dir.h"
#include "ui/chm_file.h"

namespace velmark::testing {

inline constexpr char kBuiltHelpFile[] = VELMARK_BUILT_HELP_FILE;
inline constexpr char kBuiltHelpFilePl[] = VELMARK_BUILT_HELP_FILE_PL;

inline std::unique_ptr<ui::ChmFile> OpenHelp(const std::string& path) {
    ui::ChmFile::OpenFailure failure = ui::ChmFile::OpenFailure::None;
    auto file = ui::ChmFile::Open(path, failure);
    EXPECT_NE(file, nullptr) << path;
    return file;
}

// The context numbers of the small help file.
inline constexpr int kFixtureStartContext = 100;
inline constexpr int kFixtureDeeperContext = 200;
inline constexpr int kPictureWidth = 3;
inline constexpr int kPictureHeight = 2;

// Compiles the small help file "fixture.chm" in the directory and returns its path.
inline std::string BuildFixtureHelp(const TempDir& dir) {
    std::filesystem::create_directories(dir.path() / "sub");
    std::filesystem::create_directories(dir.path() / "img");
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::red);
    EXPECT_TRUE(picture.save(QString::fromStdString(dir.file("img/dot.png")), "PNG"));
    dir.write("start.html",
              "<html><head><title>Start page</title></head><body><h1>Start</h1>"
              "<p><a href=\"sub/deeper.html\">deeper</a> <a href=\"sub/none.html\">gone</a> "
              "<a href=\"ms-its:fixture.chm::/sub/deeper.html\">old style</a></p>"
              "<img src=\"img/dot.png\"><p><a name=\"end\">End of the start page</a></p>"
              "</body></html>");
    dir.write("sub/deeper.html",
              "<html><head><title>Deeper page</title></head><body><h1>Deeper</h1>"
              "<p><a href=\"../start.html#end\">up</a></p><img src=\"../img/dot.png\">"
              "</body></html>");
    dir.write("toc.hhc",
              "<HTML><BODY><OBJECT type=\"text/site properties\"></OBJECT><UL>"
              "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Start\">"
              "<param name=\"Local\" value=\"start.html\"></OBJECT><UL>"
              "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Deeper\">"
              "<param name=\"Local\" value=\"sub/deeper.html\"></OBJECT></UL></UL>"
              "</BODY></HTML>");
    dir.write("map.h", "#define IDH_START " + std::to_string(kFixtureStartContext) +
                           "\n#define IDH_DEEPER " + std::to_string(kFixtureDeeperContext) + "\n");
    dir.write("fixture.hhp",
              "[OPTIONS]\nCompiled file=fixture.chm\nContents file=toc.hhc\n"
              "Default topic=start.html\nTitle=Fixture help\n\n"
              "[FILES]\nimg/dot.png\nstart.html\nsub/deeper.html\n\n"
              "[ALIAS]\nIDH_START=start.html\nIDH_DEEPER=sub/deeper.html\n\n"
              "[MAP]\n#include map.h\n");
    const std::string command = "cd '" + dir.path().string() +
                                "' && '" VELMARK_CHMCMD
                                "' --no-html-scan fixture.hhp >chmcmd.log 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << TempDir::read(dir.file("chmcmd.log"));
    return dir.file("fixture.chm");
}

// Makes a directory the working directory for the life of the object.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::filesystem::path& path) : m_previous(QDir::currentPath()) {
        QDir::setCurrent(QString::fromStdString(path.string()));
    }
    ~WorkingDirectory() { QDir::setCurrent(m_previous); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

  private:
    QString m_previous;
};

}  // namespace velmark::testing
