#include "ui/second_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QVBoxLayout>

#include "cabrillo/cabrillo_writer.h"
#include "cabrillo/template_editor.h"
#include "core/errors.h"
#include "core/program_values.h"
#include "settings/text_table.h"
#include "ui/cabrillo_export_panel.h"
#include "ui/country_search_panel.h"
#include "ui/qt_user_interface.h"
#include "ui/template_editor_panel.h"
#include "ui/window_title.h"

namespace velmark::ui {
namespace {

constexpr QSize kEditorSize(1000, 600);
constexpr QSize kExportSize(450, 350);
constexpr QSize kSearchSize(770, 350);

// The editor's field choices; without the extra names file the standard names still serve.
std::vector<std::string> fieldChoices(const ProgramValues& values) {
    try {
        return FieldChoices(ReadExtraFieldNames(values.PathInStartDirectory(kExtraFieldNamesFile)));
    } catch (const FileError&) {
        return FieldChoices({});
    }
}

}  // namespace

TForm3::TForm3(SecondWindowServices services, QWidget* parent)
    : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("VELMARK_TRANSLATION"));
    const std::vector<std::string> templates = ListTemplates(m_services.Values.StartDirectory);
    ZapisCabrillo = new CabrilloExportPanel(m_services.Texts, templates, this);
    m_ui = std::make_unique<QtUserInterface>(*this, ZapisCabrillo->Widgets(), m_services.Questions);
    Formularz_cabrillo = new TemplateEditorPanel(m_services.Texts, m_services.Values.StartDirectory,
                                                 ContestListEntries(templates, m_services.Texts),
                                                 fieldChoices(m_services.Values), *m_ui, this);
    PoszukanieKraju = new CountrySearchPanel(m_services.Texts, m_services.Values, *m_ui, this);

    auto* layout = new QVBoxLayout(this);
    for (QWidget* panel :
         {static_cast<QWidget*>(Formularz_cabrillo), static_cast<QWidget*>(ZapisCabrillo),
          static_cast<QWidget*>(PoszukanieKraju)}) {
        layout->addWidget(panel);
        panel->hide();
    }
    ReserveTitleBarWidth(*this);
    connect(ZapisCabrillo, &CabrilloExportPanel::templatePicked, this, &TForm3::exportCabrillo);
}

TForm3::~TForm3() = default;

void TForm3::showOnly(QWidget* panel, int width, int height) {
    for (QWidget* each :
         {static_cast<QWidget*>(Formularz_cabrillo), static_cast<QWidget*>(ZapisCabrillo),
          static_cast<QWidget*>(PoszukanieKraju)}) {
        each->setVisible(each == panel);
    }
    // The given size, unless the panel's texts need more in the fonts at hand.
    layout()->activate();
    resize(QSize(width, height).expandedTo(minimumSizeHint()));
}

void TForm3::ShowTemplateEditor() {
    showOnly(Formularz_cabrillo, kEditorSize.width(), kEditorSize.height());
}

void TForm3::ShowCabrilloExport(const CabrilloExportRequest& request) {
    m_exportRequest = std::make_unique<CabrilloExportRequest>(request);
    showOnly(ZapisCabrillo, kExportSize.width(), kExportSize.height());
}

void TForm3::ShowCountrySearch(TListaDXCC& list) {
    PoszukanieKraju->SetList(list);
    showOnly(PoszukanieKraju, kSearchSize.width(), kSearchSize.height());
}

void TForm3::exportCabrillo(const std::string& templateName) {
    if (!m_exportRequest || m_exporting) {
        return;
    }
    // The export lets events through: no second pick and no closing while it writes.
    m_exporting = true;
    ZapisCabrillo->WyborFormularzaContestu->setEnabled(false);
    ZapisCabrillo->Reset();
    try {
        ExportCabrillo(
            templateName,
            CabrilloExportRun{m_exportRequest->Catalogue, m_services.Texts, m_services.Values,
                              m_exportRequest->PersonalInfo, *m_ui, m_exportRequest->OutputFileName,
                              m_exportRequest->Encoding});
    } catch (const FileError& error) {
        m_ui->ErrorBox(error.what());
    }
    ZapisCabrillo->WyborFormularzaContestu->setEnabled(true);
    m_exporting = false;
}

void TForm3::reject() {
    if (m_exporting) {
        return;
    }
    QDialog::reject();
}

void TForm3::closeEvent(QCloseEvent* event) {
    if (m_exporting) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace velmark::ui
