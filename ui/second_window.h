#pragma once
// The second window: one window class for three jobs, each a panel of its own, of which the
// main window shows exactly one: the Cabrillo template editor (configuration menu), the Cabrillo
// export (a translation run to Cabrillo) and the country search (bookmarks menu and toolbar).
// The window is created by the command that shows it, shown modally and discarded when it
// closes, so every opening starts from fresh lists.

#include <QDialog>

#include <memory>
#include <string>

#include "settings/configuration.h"

namespace velmark {
class TListaDXCC;
class TNazwyJezykowe;
class TStrukturaADIF;
class UserInterface;
struct ProgramValues;
}  // namespace velmark

namespace velmark::ui {

class CabrilloExportPanel;
class CountrySearchPanel;
class QtUserInterface;
class TemplateEditorPanel;

// What the second window takes from the main window.
struct SecondWindowServices {
    const TNazwyJezykowe& Texts;
    // StartDirectory (CABRILLO_FORM, TYM.LOG, the extra field names) and today's date.
    const ProgramValues& Values;
    // Answers every box and beep instead of Qt (tests); nullptr: Qt's boxes and the beep.
    UserInterface* Questions = nullptr;
};

// The run whose TYM.LOG the export panel writes as Cabrillo.
struct CabrilloExportRequest {
    const TStrukturaADIF& Catalogue;  // with the extra fields the log brought
    TPersonalInfo PersonalInfo;       // the main window's personal-data fields as they stand
    std::string OutputFileName;       // chosen in the run's save dialog
    OutputEncoding Encoding = OutputEncoding::Cp1250;  // of the file written
};

class TForm3 : public QDialog {
    Q_OBJECT
  public:
    // Lists the templates and the field names and sets every text; no panel is shown yet.
    explicit TForm3(SecondWindowServices services, QWidget* parent = nullptr);
    ~TForm3() override;

    // Only the template editor, 1000 x 600.
    void ShowTemplateEditor();
    // Only the Cabrillo export, 450 x 350: each template picked writes the whole output file.
    void ShowCabrilloExport(const CabrilloExportRequest& request);
    // Only the country search, 770 x 350, in a loaded DXCC list that outlives the window.
    void ShowCountrySearch(TListaDXCC& list);

    TemplateEditorPanel* Formularz_cabrillo;
    CabrilloExportPanel* ZapisCabrillo;
    CountrySearchPanel* PoszukanieKraju;

  public slots:
    // An export lets events through while it writes; the window must not go away under it.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void showOnly(QWidget* panel, int width, int height);
    void exportCabrillo(const std::string& templateName);

    SecondWindowServices m_services;
    std::unique_ptr<QtUserInterface> m_ui;
    std::unique_ptr<CabrilloExportRequest> m_exportRequest;
    bool m_exporting = false;
};

}  // namespace velmark::ui
