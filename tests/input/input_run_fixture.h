#pragma once
// The objects of one run for log-input tests: a start directory with a tiny DXCC.LST loaded,
// English texts, a scripted user interface, and the run objects bound together.

#include <gtest/gtest.h>

#include <memory>
#include <string>

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

namespace velmark::testing {

// Two entities: ALPHALAND (prefix Q1, ADIF 101, list number 1) and BETALAND (prefix Q2, ADIF
// 202, list number 2). Callsigns beginning with X have no entity.
inline std::string TinyDxccList() {
    auto header = [](std::string name, const char* zones, const char* adif) {
        name.resize(35, ' ');
        std::string line = name + zones;  // CQ 36-37, ITU 41-42, continent 46-47
        line.resize(86, ' ');
        return line + adif + "\r\n";
    };
    return header("ALPHALAND", "14   28   EU", "101") + "  Q1\r\n" +
           header("BETALAND", " 5    8   NA", "202") + "  Q2\r\n";
}

inline constexpr std::int32_t kAlphaAdif = 101;
inline constexpr std::int32_t kAlphaListNr = 1;
inline constexpr std::int32_t kBetaAdif = 202;
inline constexpr std::int32_t kBetaListNr = 2;

class InputRunFixture {
  public:
    InputRunFixture() {
        texts.Fill(kLanguageEnglish);
        values.StartDirectory = dir.path().string();
        dir.write("DXCC.LST", TinyDxccList());
        LoadDxccList(*list, texts, ui, values);
        EXPECT_EQ(values.RunStatus, 0);
        ui.messages.clear();
        config.InputDateFormat = 1;
    }

    RunState& State() { return list->Run; }

    TempDir dir;
    TNazwyJezykowe texts;
    TKonfiguracja config;
    TStrukturaADIF catalogue;
    std::unique_ptr<TListaDXCC> list = std::make_unique<TListaDXCC>();
    TObiektyInputOutput processing;
    ProgramValues values;
    ScriptedUserInterface ui;
    RunObjects objects{
        config, texts, catalogue, *list, processing, values, ui, dir.file("setup.ini"), {}};
};

}  // namespace velmark::testing
