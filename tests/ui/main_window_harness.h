#pragma once
// A main window started in a scratch directory: setup.ini and the start directory live there,
// the language window is answered by the test, every question and box goes to a scripted user
// interface, and every write of the configuration is counted.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "settings/configuration.h"
#include "support/scripted_user_interface.h"
#include "support/temp_dir.h"
#include "ui/language_window.h"
#include "ui/main_window.h"
#include "ui/radio_group.h"
#include "ui/second_window.h"

// Readable QStrings in test failure messages.
inline void PrintTo(const QString& text, std::ostream* stream) {
    *stream << '"' << text.toStdString() << '"';
}

namespace velmark::testing {

// Three entities whose ADIF order (1, 12, 230) differs from their list order: QA.. is list
// number 1 with ADIF 230, QB.. number 2 with ADIF 1, QC.. number 3 with ADIF 12.
inline std::string OrderTestDxccList() {
    auto header = [](std::string name, const char* zones, const char* adif) {
        name.resize(35, ' ');
        std::string line = name + zones;  // CQ 36-37, ITU 41-42, continent 46-47
        line.resize(86, ' ');
        return line + adif + "\r\n";
    };
    return header("ALPHA LAND", "14   28   EU", "230") + "  QA\r\n" +
           header("BRAVO ISLE", " 5    8   NA", "  1") + "  QB\r\n" +
           header("CHARLIE REEF", "32   56   OC", " 12") + "  QC\r\n";
}

// A setup.ini section line and key lines, CR LF ended.
inline std::string IniText(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// The scripted answers, with a hook that runs while the save dialog is open: the user may
// click around the window while a run waits for the output file.
class HarnessQuestions : public ScriptedUserInterface {
  public:
    std::function<void()> whileSaveDialogOpen;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override {
        if (whileSaveDialogOpen) {
            whileSaveDialogOpen();
        }
        return ScriptedUserInterface::SaveFileDialog(request);
    }
};

class MainWindowHarness {
  public:
    // How the language window is closed while the main window is built.
    using LanguageAnswer = std::function<void(ui::TForm1&)>;
    static void PressOk(ui::TForm1& window) { window.Button1->click(); }

    explicit MainWindowHarness(const std::string& setupIni = {},
                               LanguageAnswer answer = &MainWindowHarness::PressOk) {
        if (!setupIni.empty()) {
            dir.write("setup.ini", setupIni);
        }
        Start(std::move(answer));
    }

    void Start(LanguageAnswer answer = &MainWindowHarness::PressOk) {
        ui::StartupEnvironment environment;
        environment.SetupIniPath = SetupIniPath();
        environment.StartDirectory = dir.path().string();
        environment.ProgramFileName = "velmark";
        environment.ShowLanguageWindow = std::move(answer);
        environment.ShowSecondWindow = [this](ui::TForm3& second) {
            ASSERT_TRUE(secondWindow) << "unexpected second window";
            secondWindow(second);
        };
        environment.WriteConfig = [this](const TKonfiguracja& config, const std::string& path) {
            ++writes;
            if (failWrites) {
                throw FileError("Unable to write to " + path, path);
            }
            ConfigWrite(config, path);
        };
        environment.Questions = &questions;
        if (scriptedPrinting) {
            environment.ShowLabelPreview = [this](QPrinter& printer, const auto& paint) {
                EXPECT_TRUE(labelPreview) << "unexpected print preview";
                return labelPreview && labelPreview(printer, paint);
            };
            environment.ShowPrintDialog = [this](QPrinter& printer) {
                EXPECT_TRUE(printDialog) << "unexpected print dialog";
                return printDialog && printDialog(printer);
            };
        }
        window = std::make_unique<ui::TForm4>(std::move(environment));
    }

    std::string SetupIniPath() const { return dir.file("setup.ini"); }
    std::string SetupIni() const { return TempDir::read(SetupIniPath()); }
    bool SetupIniHas(const std::string& line) const {
        return SetupIni().find(line + "\r\n") != std::string::npos;
    }
    // The configuration as the next start would read it.
    TKonfiguracja StoredConfig() const {
        TKonfiguracja stored;
        ConfigRead(stored, SetupIniPath());
        return stored;
    }

    template <typename Widget>
    Widget* Find(const char* name) const {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // Whether an element is shown as far as the window goes (the window itself is not shown
    // in the tests, so isVisible() would be false everywhere).
    bool Shown(const char* name) const {
        auto* widget = Find<QWidget>(name);
        return widget != nullptr && widget->isVisibleTo(window.get());
    }
    QString Text(const char* name) const {
        if (auto* label = window->findChild<QLabel*>(QString::fromLatin1(name))) {
            return label->text();
        }
        return Find<QLineEdit>(name)->text();
    }
    void TypeInto(const char* name, const QString& text) { Find<QLineEdit>(name)->setText(text); }
    // A user's click on a list item.
    void ChooseRow(const char* list, int row) { Find<QListWidget>(list)->setCurrentRow(row); }
    // A user's click on a radio button of a group.
    void ChooseRadio(const char* group, int index) {
        Find<ui::RadioGroup>(group)->Button(index)->click();
    }
    void Trigger(const char* action) {
        auto* found = window->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(found, nullptr) << action;
        found->trigger();
    }
    void Click(const char* button) { Find<QPushButton>(button)->click(); }

    TempDir dir;
    HarnessQuestions questions;
    // What the user does in the second window while it is shown.
    std::function<void(ui::TForm3&)> secondWindow;
    // What the user does in the labels' print preview (paint draws the labels on the printer
    // given) and print dialog; true: printed. Without scriptedPrinting (set before a new Start)
    // Qt's own dialogs open.
    std::function<bool(QPrinter&, const std::function<void(QPrinter&)>&)> labelPreview;
    std::function<bool(QPrinter&)> printDialog;
    bool scriptedPrinting = true;
    int writes = 0;
    bool failWrites = false;
    std::unique_ptr<ui::TForm4> window;
};

}  // namespace velmark::testing
