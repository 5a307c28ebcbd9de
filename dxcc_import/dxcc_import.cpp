#include "dxcc_import/dxcc_import.h"

#include <filesystem>

#include "core/decimal_text.h"
#include "core/errors.h"
#include "core/replacing_file.h"
#include "core/user_interface.h"
#include "core/whole_file.h"
#include "dxcc/dxcc_list.h"
#include "dxcc/dxcc_list_loader.h"
#include "dxcc_import/agreement.h"
#include "dxcc_import/country_file.h"
#include "dxcc_import/list_making.h"
#include "dxcc_import/loaded_list.h"
#include "dxcc_import/scratch_directory.h"
#include "settings/text_table.h"

namespace velmark::dxcc_import {
namespace {

// A share in per cent with two decimals, written with the language's decimal sign.
std::string percent(int part, int whole, const TNazwyJezykowe& texts) {
    std::string result = FixedDecimalText(whole == 0 ? 0.0 : 100.0 * part / whole, 2);
    result.replace(result.find('.'), 1, texts.ImpDecimalSign);
    return result;
}

void reportList(const std::string& countryFilePath, const CountryFile& file, const MadeList& made,
                const SelfAgreement& agreement, const TNazwyJezykowe& t, UserInterface& ui) {
    const auto n = [](auto number) { return std::to_string(number); };
    ui.AppendMessage(t.ImpCountryFile + countryFilePath +
                     (file.layout == CountryFileLayout::Dat ? t.ImpLayoutDat : t.ImpLayoutCsv) +
                     (file.version.empty() ? std::string() : t.ImpRelease + file.version) + ")");
    ui.AppendMessage(t.ImpEntities + n(made.fileEntityCount) + t.ImpDxccEntities +
                     n(made.layout.entityCount));
    ui.AppendMessage(t.ImpListLines + n(made.layout.listLineCount) + t.ImpOf + n(kMaxListLines));
    ui.AppendMessage(t.ImpPrefixEntries + n(made.layout.prefixEntryCount) + t.ImpOf +
                     n(kMaxPrefixEntries) + t.ImpPrefixesPart + n(made.plainPrefixEntryCount) +
                     t.ImpExactPart + n(made.choice.keptExactCallCount) + t.ImpGuardPart +
                     n(made.choice.guardCount) + ")");
    const ExactCallRanking& ranking = made.ranking;
    ui.AppendMessage(t.ImpExactCalls + n(ranking.exactCallCount) + t.ImpExactRedundant +
                     n(ranking.redundantCount));
    const int withoutForm = ranking.noFormCount + ranking.tooLongCount;
    ui.AppendMessage(t.ImpExactKept + n(made.choice.keptExactCallCount) + t.ImpExactDropped +
                     n(made.choice.droppedCount - withoutForm) + t.ImpExactCatching +
                     n(withoutForm));
    ui.AppendMessage(t.ImpAgreement + n(agreement.sameEntity) + t.ImpOf + n(agreement.items) +
                     t.ImpAgreementItems + percent(agreement.sameEntity, agreement.items, t) +
                     t.ImpAgreementPercent);
}

}  // namespace

bool ImportDxccList(const std::string& countryFilePath, const std::string& startDirectory,
                    const TNazwyJezykowe& texts, UserInterface& ui) {
    ui.SetCaption(texts.ImpCaption);
    ui.SetProgress(0);
    ui.ProcessEvents();
    const std::string listPath = startDirectory + "/" + kDxccListFileName;
    try {
        const CountryFile file = ReadCountryFile(countryFilePath);
        ui.SetProgress(20);
        ui.ProcessEvents();
        const ScratchDirectory scratch;
        const MadeList made = MakeDxccList(file, scratch, texts);
        ui.SetProgress(70);
        ui.ProcessEvents();

        // The new list, written beside the old one, must load as the program will load it.
        ReplacingFile newList(listPath);
        newList.Write(made.text);
        newList.Finish();
        LoadedList loaded(newList.temporaryPath(), scratch.path(), &texts);
        CheckLoadedList(loaded, made.layout);
        const SelfAgreement agreement = MeasureSelfAgreement(
            made.entities, [&](const std::string& call) { return loaded.Resolve(call); });
        ui.SetProgress(90);
        ui.ProcessEvents();

        const std::string backupPath = startDirectory + "/" + kDxccListBackupFileName;
        std::error_code ignored;
        const bool hadList = std::filesystem::is_regular_file(listPath, ignored);
        if (hadList)
            ReplaceFileContents(backupPath, ReadWholeFile(listPath));
        newList.Commit();
        ui.SetProgress(100);
        reportList(countryFilePath, file, made, agreement, texts, ui);
        ui.AppendMessage(texts.ImpWritten + listPath);
        ui.AppendMessage(hadList ? texts.ImpBackup + backupPath : texts.ImpNoPrevious);
        ui.AppendMessage(texts.ImpNextCommands);
        // The report of the new list's prefix table, as the next load would write it; should
        // it fail, the messages above still tell truly what was done.
        ReplaceFileContents(startDirectory + "/" + kListReportFileName,
                            ReadWholeFile(scratch.file(kListReportFileName)));
        return true;
    } catch (const CountryFileError& error) {
        ui.ErrorBox(texts.ImpRefused + "\r" + texts.ImpInCountryFile + countryFilePath + ", " +
                    DescribeCountryFileError(error, texts));
        return false;
    }
}

}  // namespace velmark::dxcc_import
