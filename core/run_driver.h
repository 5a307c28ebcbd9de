#pragma once
// The conductor of a sort or translation run: ReadInputLog reads the whole log into TYM.LOG and
// the index; WriteRun sorts (sort runs), asks for the output file, writes the main output, the
// part files, COUNTRY.CSV and the report, or hands Cabrillo output to the Cabrillo export.
// Both report through the user interface and throw FileError on file-system failures; the
// command that called them catches it and shows it in the error box.

#include <functional>
#include <string>

namespace velmark {

class TNazwyJezykowe;
class TStrukturaADIF;
class TListaDXCC;
class TObiektyInputOutput;
class UserInterface;
struct TKonfiguracja;
struct ProgramValues;

// Everything one run works on, owned elsewhere (the main window or the batch tool).
struct RunObjects {
    TKonfiguracja& Config;
    const TNazwyJezykowe& Texts;
    TStrukturaADIF& Catalogue;
    TListaDXCC& DxccList;
    TObiektyInputOutput& Processing;
    ProgramValues& Values;
    UserInterface& Ui;
    // Where ConfigWrite stores the configuration when the input side settles a date format.
    std::string SetupIniPath;
    // Cabrillo output: opens the Cabrillo export (the GUI's export panel, or the batch tool's
    // template choice), which writes Processing.OutputFileName from TYM.LOG in file order.
    std::function<void(RunObjects&)> OpenCabrilloExport;
};

// The input log's field separator and whether it is a Cabrillo log, by InputFileType 0..3.
struct InputKind {
    std::string FieldSeparator;  // "<>" ADIF, "," CSV, " " TXT and Cabrillo
    bool CabrilloInput = false;
    std::string DialogFilter;      // "File *.adi|*.adi" ...
    std::string DefaultExtension;  // "adi" ...
};
InputKind InputKindFor(int inputFileType);

// Reads Values.InputFileName into the run's structures. Sets Values.RunStatus to 2 when a QSO
// was rejected or the log cannot be processed (with the reason in the message list); leaves it
// as the caller set it (0) otherwise.
void ReadInputLog(RunObjects& run, const InputKind& kind);

// Everything after the input phase (call only with RunStatus 0). Returns when the output is
// written, when the user cancelled the save dialog, or when the Cabrillo export has ended:
// true when the output was written or handed to the Cabrillo export, false when the run was
// refused (the reason is in the message list) or no output file was chosen.
bool WriteRun(RunObjects& run);

}  // namespace velmark
