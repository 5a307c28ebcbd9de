#pragma once
// The objects one sort or translation run works on, and the kind of its input log. The input
// phase (this folder) and the run driver above it both take a run as this bundle.

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
    std::string DialogFilter;      // "File *.adi *.adif|*.adi;*.adif" ...
    std::string DefaultExtension;  // "adi" ...
};
InputKind InputKindFor(int inputFileType);

}  // namespace velmark
