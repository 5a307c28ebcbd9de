#pragma once
// The about window: the program's picture, file name, version, author and a short description
// in the chosen language. The row captions are the same in both languages.

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;

namespace velmark::ui {

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // The values beside "Product Name" and "Version".
    void SetProduct(const QString& programFileName, const QString& versionText);
    void SetAuthor(const QString& author);
    // The description lines, the first beside "Comments", the others below it.
    void SetComments(const QStringList& lines);

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QLabel* Comments;
    QPushButton* OKButton;
};

}  // namespace velmark::ui
