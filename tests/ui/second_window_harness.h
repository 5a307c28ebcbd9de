#pragma once
// The second window opened on its own, in a scratch start directory, with English texts and
// every box and beep going to a scripted user interface.

#include <QComboBox>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/program_values.h"
#include "settings/text_table.h"
#include "support/scripted_user_interface.h"
#include "support/temp_dir.h"
#include "ui/cabrillo_export_panel.h"
#include "ui/country_search_panel.h"
#include "ui/second_window.h"
#include "ui/template_editor_panel.h"

namespace velmark::testing {

// A user's pick in a drop-down list: the item becomes current and the list reports the choice
// (also when the item was current already).
inline void Pick(QComboBox* box, const QString& text) {
    ASSERT_NE(box, nullptr);
    const int index = box->findText(text, Qt::MatchExactly);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

inline std::vector<std::string> LinesOf(const QPlainTextEdit* box) {
    std::vector<std::string> lines;
    for (const QString& line : box->toPlainText().split(QLatin1Char('\n'))) {
        lines.push_back(line.toStdString());
    }
    return lines;
}

// The bundled templates and the editor's extra field names, as the program is shipped.
inline void CopyBundledCabrilloData(const std::filesystem::path& startDirectory) {
    const std::filesystem::path data = VELMARK_SOURCE_DATA_DIR;
    std::filesystem::copy(data / "CABRILLO_FORM", startDirectory / "CABRILLO_FORM");
    std::filesystem::copy(data / "Non_standardADIF_addition_field_for_cabrillo.txt",
                          startDirectory);
}

class SecondWindowFixture : public ::testing::Test {
  protected:
    SecondWindowFixture() {
        texts.Fill(kLanguageEnglish);
        values.StartDirectory = dir.path().string();
    }

    std::unique_ptr<ui::TForm3> Open() {
        return std::make_unique<ui::TForm3>(ui::SecondWindowServices{texts, values, &questions});
    }

    template <typename Widget>
    static Widget* Find(const ui::TForm3& window, const char* name) {
        auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    TempDir dir;
    TNazwyJezykowe texts;
    ProgramValues values;
    ScriptedUserInterface questions;
};

}  // namespace velmark::testing
