#pragma once
// The objects of a whole sort run for run-driver tests: a start directory with a generated
// DXCC.LST of any number of entities, English texts, a scripted user interface, the input log
// read with ReadInputLog, and WriteRun to finish.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/field_catalogue.h"
#include "core/processing_object.h"
#include "core/program_values.h"
#include "run/run_driver.h"
#include "dxcc/dxcc_list.h"
#include "dxcc/dxcc_list_loader.h"
#include "settings/configuration.h"
#include "settings/text_table.h"
#include "support/scripted_user_interface.h"
#include "support/temp_dir.h"
#include "tests/dxcc/dxcc_test_lists.h"

namespace velmark::testing {

// The prefix of entity n (0-based): "X" and two letters, XAA, XAB ... XZZ, 676 in all.
inline std::string EntityPrefix(int n) {
    return std::string("X") + static_cast<char>('A' + n / 26) + static_cast<char>('A' + n % 26);
}

// A DXCC.LST of `entities` entities, each with one prefix; entity n has ADIF number n + 1.
inline std::string GeneratedDxccList(int entities) {
    std::string list;
    for (int n = 0; n < entities; ++n) {
        list += HeaderLine("ENTITY " + std::to_string(n + 1), 1, 1, "EU", std::to_string(n + 1)) +
                "\r\n" + PrefixLine(EntityPrefix(n)) + "\r\n";
    }
    return list;
}

// One ADIF record.
inline std::string AdifQso(const std::string& call, const std::string& date = "20200105") {
    return "<CALL:" + std::to_string(call.size()) + ">" + call + "<QSO_DATE:8>" + date +
           "<MODE:2>CW<EOR>\r\n";
}

class RunFixture {
  public:
    explicit RunFixture(int entities = 2) {
        texts.Fill(kLanguageEnglish);
        values.StartDirectory = dir.path().string();
        values.ProgramFileName = "velmark-test";
        dir.write("DXCC.LST", GeneratedDxccList(entities));
        LoadDxccList(*list, texts, ui, values);
        EXPECT_EQ(values.RunStatus, 0);
        std::filesystem::create_directories(dir.path() / "out");
        config.InputDateFormat = 1;
        config.OutputFileType = 1;  // CSV
        config.QsosPerCard = 1;
    }

    // Writes the ADIF log and reads it into the run.
    void ReadLog(const std::string& log) {
        ui.messages.clear();
        values.InputFileName = dir.write("input.adi", log);
        values.RunStatus = 0;
        ReadInputLog(objects, InputKindFor(0));
        ASSERT_EQ(values.RunStatus, 0);
    }

    // Answers the save dialog with out/<name> and writes the run.
    bool Write(const std::string& name = "qsl.csv") {
        ui.fileAnswers.push_back(OutputPath(name));
        return WriteRun(objects);
    }

    std::string OutputPath(const std::string& name = "qsl.csv") const {
        return dir.file("out/" + name);
    }

    // The names of the files in out/.
    std::vector<std::string> OutputFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "out")) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    TempDir dir;
    TNazwyJezykowe texts;
    TKonfiguracja config;
    TStrukturaADIF catalogue;
    std::unique_ptr<TListaDXCC> list = std::make_unique<TListaDXCC>();
    TObiektyInputOutput processing;
    ProgramValues values;
    ScriptedUserInterface ui;
    RunObjects objects{config, texts, catalogue, *list, processing, values, ui, {}, {}};
};

}  // namespace velmark::testing
