// The open dialog of a run offers the logs of the chosen input type: loggers export ADIF as
// .adi or .adif, and logs copied from Windows machines often carry upper-case names.

#include <QAbstractItemModel>
#include <QApplication>
#include <QFileDialog>
#include <QListView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "input/run_objects.h"
#include "support/temp_dir.h"
#include "ui/qt_user_interface.h"

namespace velmark::testing {
namespace {

// The file names the open dialog lists for the input type, in a folder holding logs of every
// kind in both letter cases.
std::set<std::string> namesOffered(int inputFileType) {
    TempDir dir;
    for (const char* name : {"a.adi", "b.ADI", "c.adif", "d.ADIF", "e.Adif", "f.csv", "g.CSV",
                             "h.txt", "i.TXT", "j.cbr", "k.CBR", "l.adi.bak", "m.log"}) {
        dir.write(name, "x");
    }
    QWidget owner;
    ui::QtUserInterface ui(owner, {});
    const InputKind kind = InputKindFor(inputFileType);
    std::set<std::string> names;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
        ASSERT_NE(view, nullptr);
        // The folder is read in the background; every case offers at least two files.
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= 2; }));
        QTest::qWait(200);
        const QAbstractItemModel* model = view->model();
        for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
            names.insert(model->index(row, 0, view->rootIndex()).data().toString().toStdString());
        }
        dialog->reject();
    });
    EXPECT_FALSE(
        ui.OpenFileDialog({{}, kind.DialogFilter, kind.DefaultExtension, dir.path().string()})
            .has_value());
    return names;
}

TEST(OpenDialog, OffersTheLogsOfTheInputTypeInEitherLetterCase) {
    const struct {
        int inputFileType;
        std::set<std::string> offered;
    } cases[] = {
        {0, {"a.adi", "b.ADI", "c.adif", "d.ADIF", "e.Adif"}},
        {1, {"f.csv", "g.CSV"}},
        {2, {"h.txt", "i.TXT"}},
        {3, {"j.cbr", "k.CBR"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(namesOffered(c.inputFileType), c.offered) << "input type " << c.inputFileType;
    }
}

}  // namespace
}  // namespace velmark::testing
