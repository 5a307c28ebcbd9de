#pragma once
// The template editor's logic, without its window: the new-contest template it starts with,
// the lists it offers, writing a chosen field name into the field-name line, and saving.
// The window shows a TemplateText in its header, pattern and end-line boxes and calls these.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cabrillo/contest_template.h"

namespace velmark {

class TNazwyJezykowe;
class UserInterface;

// The first choice of every field box: no field.
inline constexpr std::string_view kNoFieldChoice = "NONE";

// The new-contest template: the editor's starting content and the reference layout of a
// template. Its QSO line follows the common Cabrillo layout (frequency, mode, date, time, then
// call, report and exchange sent and received).
TemplateText NewContestTemplate();

// The contest list: "New contest" (in the user's language), then the template files.
std::vector<std::string> ContestListEntries(const std::vector<std::string>& templateNames,
                                            const TNazwyJezykowe& texts);

// The choices of every field box: "NONE", the 121 standard names in catalogue order, then the
// extra names (Non_standardADIF_addition_field_for_cabrillo.txt).
std::vector<std::string> FieldChoices(const std::vector<std::string>& extraNames);

// The field-name line after choosing a name in field box k (1..12): "NONE" leaves it as it is;
// the k-th name is replaced (the blanks around it stay) when the line has k names, otherwise the
// name becomes the last one, put with a blank before the closing "]]". The mask is not touched.
std::string PlaceFieldName(std::string_view fieldNameLine, int k, std::string_view name);

// Saves the editor's content under the name typed into the file-name box. An empty name (or a
// single blank) shows the error box and saves nothing; a name without "." gets ".FRM". The file
// goes into CABRILLO_FORM (created when missing), replacing one of that name. Returns the name
// as the file-name box is then to show it, or nothing when nothing was saved. FileError when the
// file cannot be written.
std::optional<std::string> SaveTemplate(std::string_view fileName, const TemplateText& content,
                                        const std::string& startDirectory,
                                        const TNazwyJezykowe& texts, UserInterface& ui);

}  // namespace velmark
