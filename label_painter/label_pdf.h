#pragma once
// QSL labels as a PDF file, through Qt's PDF writer: vector text in the embedded font, one page
// a sheet. And the application object drawing needs where the program has none of its own
// (velmark-batch), on Qt's offscreen platform so that it works without a display.

#include <QtGlobal>

#include <memory>
#include <string>

#include "labels/label_run.h"

class QGuiApplication;

namespace velmark::painter {

// Writes every label of the run into the PDF file at path. The file replaces an old one of
// that name only when it is complete: a run that fails (a full disk, a folder it may not write)
// or is killed leaves no part of a PDF behind. Throws FileError.
LabelsDrawn WriteLabelPdf(const std::string& path, RunObjects& run, const LabelJob& job);

// The Qt application a process needs to draw text, created when there is none: on the
// offscreen platform unless QT_QPA_PLATFORM names another. A batch run needs no display and
// must not fail for want of one (a server, a cron job, an X display that is set but gone).
class PaintingApplication {
  public:
    PaintingApplication();
    ~PaintingApplication();
    PaintingApplication(const PaintingApplication&) = delete;
    PaintingApplication& operator=(const PaintingApplication&) = delete;

  private:
    int m_argc = 1;
    char m_name[16] = "velmark-batch";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_application;
    QtMessageHandler m_previousHandler = nullptr;
};

}  // namespace velmark::painter
