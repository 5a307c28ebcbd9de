#include "ui/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "settings/text_table.h"

namespace velmark::ui {

QStringList QtTranslationFolders() {
    return {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
            QCoreApplication::applicationDirPath() + QStringLiteral("/translations")};
}

QtTranslation::QtTranslation() : m_translator(std::make_unique<QTranslator>()) {}

QtTranslation::~QtTranslation() {
    remove();
}

bool QtTranslation::Apply(int language) {
    remove();
    if (language != kLanguagePolish) {
        return true;
    }
    for (const QString& folder : QtTranslationFolders()) {
        if (m_translator->load(QStringLiteral("qtbase_pl"), folder)) {
            m_installed = QCoreApplication::installTranslator(m_translator.get());
            return m_installed;
        }
    }
    return false;
}

void QtTranslation::remove() {
    if (m_installed) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_installed = false;
    }
}

}  // namespace velmark::ui
