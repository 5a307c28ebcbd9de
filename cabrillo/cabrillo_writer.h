#pragma once
// The Cabrillo writer: a contest log written through a template. The run has read the log into
// TYM.LOG and asked for the output file; the export writes the template's header lines, one
// QSO line per record of TYM.LOG in file order (the order of the input log, not a sorted one),
// and the end line. A QSO line is the template's mask with each field's value in its slot.

#include <cstdint>
#include <string>
#include <string_view>

#include "cabrillo/contest_template.h"
#include "core/qso_record.h"
#include "core/text_encoding.h"

namespace velmark {

class TNazwyJezykowe;
class TStrukturaADIF;
class UserInterface;
struct ProgramValues;
struct TPersonalInfo;

// Printer controls around a value printed in double width ("@" slots): shift out before it,
// device control 4 after it.
inline constexpr char kDoubleWidthOn = '\x0E';
inline constexpr char kDoubleWidthOff = '\x14';

// What the export takes from the run and the window that starts it.
struct CabrilloExportRun {
    const TStrukturaADIF& Catalogue;  // finds the log's extra fields by name
    const TNazwyJezykowe& Texts;
    // StartDirectory (TYM.LOG and CABRILLO_FORM), ProgramFileName and VersionText.
    const ProgramValues& Values;
    // The personal data the header is completed with (the main window's field texts, or the
    // configuration's PersonalInfo).
    const TPersonalInfo& PersonalInfo;
    UserInterface& Ui;
    // Full path of the Cabrillo file, chosen in the run's save dialog.
    std::string OutputFileName;
    // The encoding the file is written in (UTF-8 without a byte-order mark).
    OutputEncoding Encoding = OutputEncoding::Cp1250;
};

// Writes the Cabrillo file through the template of that name in CABRILLO_FORM, from the start
// (an existing file is replaced), then sets the progress to 100, puts the four lines naming the
// file and its directory into the message list and shows the end buttons. A template that breaks
// the layout, or a TYM.LOG without QSOs, is reported in the message list instead and no file is
// written. Returns whether the file was written. FileError when a file cannot be read or written
// (the output file is then incomplete).
bool ExportCabrillo(const std::string& templateName, const CabrilloExportRun& run);

// The QSO line of a record through the loaded template, without its line end. Names beyond the
// mask's slots are not written; a name the catalogue does not know gets a blank slot.
std::string BuildQsoLine(const CabrilloTemplate& form, const QsoRecord& record);

// The value written for field k (1..FieldCount) of the template, rewritten for Cabrillo: FREQ in
// kHz (a QSO without FREQ whose BAND is 6m or above gets the band's designator, 144 for 2m, as
// a Cabrillo log read in gives it), MODE as a Cabrillo mode (SSB as PH; RTTY, PSK31 and BPSK31 as
// RY, in any letter case), QSO_DATE in the Cabrillo date format, SRX and STX in four digits,
// QSO_NUM as the record's number; any other field as stored.
std::string CabrilloFieldValue(const CabrilloTemplate& form, int k, const QsoRecord& record);

// A frequency stored in MHz written in kHz: the decimals after the decimal mark ("," or else
// ".") are cut or completed with zeros to three, the mark is dropped, and a four-digit result
// gets a blank in front, so 14.085 gives 14085, 14.08 14080 and 3.7995 " 3799". A text without
// a decimal mark keeps its digits. Any unit other than MHZ (in any letter case) leaves the text
// unchanged.
std::string FreqMhzToKhz(std::string frequency, std::string_view unit);

// A serial number of 1 to 3 characters padded with zeros in front to 4; other texts unchanged.
std::string PadToFour(std::string text);

// The number of slots of a mask (runs of "#" and "@").
int CountMaskSlots(std::string_view mask);

// Builds one QSO line from a mask, one field at a time.
class QsoLineBuilder {
  public:
    explicit QsoLineBuilder(std::string_view mask) : m_mask(mask) {}

    // Copies the mask's literals from the cursor, puts the value into the next slot (cut to the
    // slot, or filled with blanks) and copies the one literal after the slot. With last set it
    // goes on to the end of the mask, filling any further slots with blanks. A single blank left
    // at the very end of the mask is never written.
    void FillMaskSlot(std::string_view value, bool last);

    const std::string& Line() const { return m_line; }

  private:
    char maskAt(std::size_t position) const;
    bool restIsEmptyOrOneBlank() const;
    void putDoubleWidth(std::string_view value, std::size_t& next);

    std::string_view m_mask;
    std::size_t m_cursor = 1;  // position in the mask, from 1
    std::string m_line;
};

// The export's progress: records written against the size of TYM.LOG at 1800 bytes a record,
// rounded, at most 100 (records take 2052 bytes, so the last one leaves the bar near 88).
int CabrilloProgressPercent(std::int64_t written, std::int64_t tymLogSize);

}  // namespace velmark
