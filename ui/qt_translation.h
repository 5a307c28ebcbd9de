#pragma once
// Qt's own texts in the language chosen at start-up: the buttons of message boxes (Yes, No,
// Cancel), the file dialogs and the input boxes. Qt speaks English by itself; for Polish it
// loads its translation qtbase_pl.qm, which comes with Qt (Debian: qt6-translations-l10n).

#include <QString>
#include <QStringList>

#include <memory>

class QTranslator;

namespace velmark::ui {

// The folders searched for Qt's translation, in order: Qt's own translations folder, then the
// folder "translations" beside the program (for a copy that carries its own).
QStringList QtTranslationFolders();

class QtTranslation {
  public:
    QtTranslation();
    // Takes the translation out of the application again.
    ~QtTranslation();
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;

    // Makes Qt speak the language (kLanguagePolish or kLanguageEnglish). False when Polish was
    // asked for and no translation file could be loaded: Qt's texts then stay English.
    bool Apply(int language);

  private:
    void remove();

    std::unique_ptr<QTranslator> m_translator;
    bool m_installed = false;
};

}  // namespace velmark::ui
