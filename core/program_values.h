#pragma once
// Program-wide run values that the main window (or the batch tool) sets and the processing code
// reads. Everything that makes output differ from run to run (program name, version, today's
// date) comes from here, so tests can set it and golden files stay stable.

#include <cstdint>
#include <ctime>
#include <string>

namespace velmark {

// The build's four-part version, "1.0.2.0".
inline constexpr const char* kVersionNumber = VELMARK_VERSION_TEXT;
// The application title, which the ADIF header of a part file names as the translator.
inline constexpr const char* kApplicationTitle = "VELMARK_TRANSLATIONS";

struct ProgramValues {
    // Working directory at start-up, without a trailing separator; reference files and TYM.LOG
    // live here.
    std::string StartDirectory;
    // Bare file name of the running program (at most 50 characters), written into headers.
    std::string ProgramFileName;
    // "V: " and the four-part version.
    std::string VersionText = std::string("V: ") + kVersionNumber;
    // Full path of the input log of the current run.
    std::string InputFileName;
    // 0 for a run started by the sort command, 1 for one started by confirm-translation.
    int TranslationMode = 0;
    // Status of the last load or input phase: 0 success, 1 a required file missing, 2 data errors.
    std::uint8_t RunStatus = 0;
    // Texts of the main window's date and time separator fields; normally the configuration's
    // separators, but an invalid entry stays here while the configuration keeps the old value.
    std::string DateSeparatorText;
    std::string TimeSeparatorText;
    // Today's date for lookups that need one; 0 means "ask the system clock".
    std::time_t FixedToday = 0;

    std::time_t Today() const { return FixedToday != 0 ? FixedToday : std::time(nullptr); }
    std::string PathInStartDirectory(const std::string& fileName) const {
        return StartDirectory + "/" + fileName;
    }
};

}  // namespace velmark
