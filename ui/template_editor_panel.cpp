#include "ui/template_editor_panel.h"
#include "run/start_directory_lock.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include "cabrillo/template_editor.h"
#include "core/errors.h"
#include "core/user_interface.h"
#include "settings/text_table.h"
#include "ui/cp1250_qstring.h"
#include "ui/named_widget.h"

namespace velmark::ui {
namespace {

using Text = std::string TNazwyJezykowe::*;

// The text a field box shows before a choice, box by box.
constexpr std::array<Text, kMaxTemplateFields> kFieldBoxTexts{
    &TNazwyJezykowe::CabField1,  &TNazwyJezykowe::CabField2,  &TNazwyJezykowe::CabField3,
    &TNazwyJezykowe::CabField4,  &TNazwyJezykowe::CabField5,  &TNazwyJezykowe::CabField6,
    &TNazwyJezykowe::CabField7,  &TNazwyJezykowe::CabField8,  &TNazwyJezykowe::CabField9,
    &TNazwyJezykowe::CabField10, &TNazwyJezykowe::CabField11, &TNazwyJezykowe::CabField12};
constexpr int kFieldBoxColumns = 4;
// Columns always in view: the header box shows its longest usual line
// ("CATEGORY-ASSISTED: NON-ASSISTED"), the pattern box its 99-column rulers.
constexpr int kHeaderBoxColumns = 31;
constexpr int kPatternBoxColumns = 99;
constexpr int kTemplateFontPointSize = 9;

// Masks and their column rulers line up only in a font whose characters are all as wide.
QPlainTextEdit* templateBox(const char* name, int columnsInView, QWidget* parent) {
    auto* box = named<QPlainTextEdit>(QString::fromLatin1(name), parent);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(kTemplateFontPointSize);
    box->setFont(fixed);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    const int margins = 2 * (box->frameWidth() + int(box->document()->documentMargin())) + 2;
    box->setMinimumWidth(
        box->fontMetrics().horizontalAdvance(QString(columnsInView, QLatin1Char('0'))) + margins);
    return box;
}

QString joinLines(const std::vector<std::string>& lines) {
    QStringList shown;
    for (const std::string& line : lines) {
        shown << FromCp1250(line);
    }
    return shown.join(QLatin1Char('\n'));
}

std::vector<std::string> linesOf(const QPlainTextEdit* box) {
    std::vector<std::string> lines;
    for (const QString& line : box->toPlainText().split(QLatin1Char('\n'))) {
        lines.push_back(ToCp1250(line));
    }
    return lines;
}

QStringList choiceTexts(const std::vector<std::string>& choices) {
    QStringList texts;
    for (const std::string& choice : choices) {
        texts << FromCp1250(choice);
    }
    return texts;
}

}  // namespace

TemplateEditorPanel::TemplateEditorPanel(const TNazwyJezykowe& texts, std::string startDirectory,
                                         const std::vector<std::string>& contestEntries,
                                         const std::vector<std::string>& fieldChoices,
                                         UserInterface& ui, QWidget* parent)
    : QGroupBox(parent), m_texts(texts), m_startDirectory(std::move(startDirectory)), m_ui(ui) {
    setObjectName(QStringLiteral("Formularz_cabrillo"));
    build();
    WyborContestu->addItems(choiceTexts(contestEntries));
    WyborContestu->setCurrentIndex(-1);
    for (QComboBox* box : FieldBoxes) {
        box->addItems(choiceTexts(fieldChoices));
        box->setMaxVisibleItems(20);
    }
    applyTexts();
    ShowContent(NewContestTemplate());

    connect(WyborContestu, &QComboBox::activated, this, &TemplateEditorPanel::chooseContest);
    for (int k = 1; k <= kMaxTemplateFields; ++k) {
        connect(FieldBoxes[k - 1], &QComboBox::activated, this,
                [this, k](int index) { chooseField(k, index); });
    }
    connect(Zapisz_formularz_contestu, &QPushButton::clicked, this, &TemplateEditorPanel::save);
    connect(Cofnij, &QPushButton::clicked, this, [this] { window()->close(); });
}

void TemplateEditorPanel::build() {
    Lab_WyborContestu = named<QLabel>(QStringLiteral("Lab_WyborContestu"), this);
    WyborContestu = named<QComboBox>(QStringLiteral("WyborContestu"), this);
    WyborContestu->setMinimumContentsLength(16);
    Lab_Naglowek = named<QLabel>(QStringLiteral("Lab_Naglowek"), this);
    Naglowek = templateBox("Naglowek", kHeaderBoxColumns, this);
    Lab_Wzorzec = named<QLabel>(QStringLiteral("Lab_Wzorzec"), this);
    Wzorzec = templateBox("Wzorzec", kPatternBoxColumns, this);
    Lab_END_OF_LOG = named<QLabel>(QStringLiteral("Lab_END_OF_LOG"), this);
    END_OF_LOG = named<QLineEdit>(QStringLiteral("END_OF_LOG"), this);
    END_OF_LOG->setFont(Wzorzec->font());
    Lab_NazwaZbioruDoZapisu = named<QLabel>(QStringLiteral("Lab_NazwaZbioruDoZapisu"), this);
    NazwaZbioruDoZapisu = named<QLineEdit>(QStringLiteral("NazwaZbioruDoZapisu"), this);
    Zapisz_formularz_contestu =
        named<QPushButton>(QStringLiteral("Zapisz_formularz_contestu"), this);
    Zapisz_formularz_contestu->setDefault(true);
    Cofnij = named<QPushButton>(QStringLiteral("Cofnij"), this);
    Cofnij->setAutoDefault(false);
    HelpFormularzCabrillo = named<QPushButton>(QStringLiteral("HelpFormularzCabrillo"), this);
    HelpFormularzCabrillo->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    HelpFormularzCabrillo->setAutoDefault(false);

    auto* left = new QVBoxLayout;
    left->addWidget(Lab_WyborContestu);
    left->addWidget(WyborContestu);
    left->addWidget(Lab_Naglowek);
    left->addWidget(Naglowek, 1);

    auto* names = new QGridLayout;
    names->addWidget(Lab_END_OF_LOG, 0, 0);
    names->addWidget(END_OF_LOG, 0, 1);
    names->addWidget(Lab_NazwaZbioruDoZapisu, 1, 0);
    names->addWidget(NazwaZbioruDoZapisu, 1, 1);
    names->setColumnStretch(1, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(Lab_Wzorzec);
    right->addWidget(Wzorzec, 1);
    right->addLayout(buildFieldBoxes());
    right->addLayout(names);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Zapisz_formularz_contestu);
    buttons->addWidget(Cofnij);
    buttons->addStretch();
    buttons->addWidget(HelpFormularzCabrillo);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
}

QLayout* TemplateEditorPanel::buildFieldBoxes() {
    auto* grid = new QGridLayout;
    for (int i = 0; i < kMaxTemplateFields; ++i) {
        auto* box = named<QComboBox>(QStringLiteral("Pole%1ADIF").arg(i + 1), this);
        box->setMinimumContentsLength(10);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        FieldBoxes[i] = box;
        grid->addWidget(box, i / kFieldBoxColumns, i % kFieldBoxColumns);
    }
    return grid;
}

void TemplateEditorPanel::applyTexts() {
    const auto text = [this](Text key) { return FromCp1250(m_texts.*key); };
    setTitle(text(&TNazwyJezykowe::CabCapForm));
    Lab_WyborContestu->setText(text(&TNazwyJezykowe::CabChooseContest));
    WyborContestu->setPlaceholderText(text(&TNazwyJezykowe::CabContestChoice));
    Lab_Naglowek->setText(text(&TNazwyJezykowe::CabHeader));
    Lab_Wzorzec->setText(text(&TNazwyJezykowe::CabDataLinePattern));
    for (int i = 0; i < kMaxTemplateFields; ++i) {
        FieldBoxes[i]->setPlaceholderText(text(kFieldBoxTexts[i]));
        FieldBoxes[i]->setToolTip(text(kFieldBoxTexts[i]));
    }
    Lab_END_OF_LOG->setText(text(&TNazwyJezykowe::CabFooter));
    Lab_NazwaZbioruDoZapisu->setText(text(&TNazwyJezykowe::CabEnterFormFileName));
    Zapisz_formularz_contestu->setText(text(&TNazwyJezykowe::CabSaveForm));
    Cofnij->setText(text(&TNazwyJezykowe::FindExit));
    HelpFormularzCabrillo->setText(text(&TNazwyJezykowe::MenuHelp));
}

TemplateText TemplateEditorPanel::Content() const {
    return TemplateText{linesOf(Naglowek), linesOf(Wzorzec), ToCp1250(END_OF_LOG->text())};
}

void TemplateEditorPanel::ShowContent(const TemplateText& text) {
    Naglowek->setPlainText(joinLines(text.HeaderLines));
    Wzorzec->setPlainText(joinLines(text.PatternLines));
    END_OF_LOG->setText(FromCp1250(text.EndLine));
    showFieldNames(text.PatternLines.empty() ? std::vector<std::string>{}
                                             : FieldNamesOf(text.PatternLines.front()));
}

// Box k shows the k-th name of the field-name line; a name that is not among the choices is
// shown all the same, in place of the text before a choice, so the box tells what the line holds.
void TemplateEditorPanel::showFieldNames(const std::vector<std::string>& names) {
    for (int i = 0; i < kMaxTemplateFields; ++i) {
        QComboBox* box = FieldBoxes[i];
        const QString name = i < int(names.size()) ? FromCp1250(names[i]) : QString();
        const int index = name.isEmpty() ? -1 : box->findText(name, Qt::MatchExactly);
        box->setCurrentIndex(index);
        box->setPlaceholderText(
            index < 0 && !name.isEmpty() ? name : FromCp1250(m_texts.*kFieldBoxTexts[i]));
    }
}

void TemplateEditorPanel::chooseContest(int index) {
    if (index <= 0) {
        // "New contest": the boxes keep their content as the start of a new template.
        NazwaZbioruDoZapisu->clear();
        return;
    }
    const std::string name = ToCp1250(WyborContestu->itemText(index));
    try {
        const TemplateText loaded = ReadTemplateFile(TemplatePath(m_startDirectory, name));
        NazwaZbioruDoZapisu->setText(FromCp1250(name));
        ShowContent(loaded);
    } catch (const FileError& error) {
        m_ui.ErrorBox(error.what());
    }
}

void TemplateEditorPanel::chooseField(int k, int index) {
    const std::string name = ToCp1250(FieldBoxes[k - 1]->itemText(index));
    const QTextBlock first = Wzorzec->document()->firstBlock();
    const std::string line = ToCp1250(first.text());
    const std::string placed = PlaceFieldName(line, k, name);
    if (placed == line) {
        return;
    }
    // Through a cursor, so the change can be undone like typing.
    QTextCursor cursor(first);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(FromCp1250(placed));
}

void TemplateEditorPanel::save() {
    try {
        const auto lock =
            LockStartDirectoryFor(m_startDirectory, kShortCommandLockWait, m_texts, m_ui);
        if (!lock)
            return;
        const std::optional<std::string> saved = SaveTemplate(
            ToCp1250(NazwaZbioruDoZapisu->text()), Content(), m_startDirectory, m_texts, m_ui);
        if (saved) {
            NazwaZbioruDoZapisu->setText(FromCp1250(*saved));
        }
    } catch (const FileError& error) {
        m_ui.ErrorBox(error.what());
    }
}

}  // namespace velmark::ui
