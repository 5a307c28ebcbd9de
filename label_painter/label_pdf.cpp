#include "label_painter/label_pdf.h"

#include <QGuiApplication>
#include <QIODevice>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>
#include <filesystem>
#include <optional>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "core/errors.h"
#include "core/program_values.h"
#include "core/replacing_file.h"
#include "label_painter/label_painter.h"

namespace velmark::painter {
namespace {

// The PDF's device resolution: Qt sets text at whole device pixels, so the higher it is, the
// closer every text comes to the width the layout reckons (within 0.5 % at 1200 dpi).
constexpr int kPdfResolution = 1200;

// The PDF writer's output, handed on to a ReplacingFile. Qt's writer cannot take an exception
// through its own code: the first failure is kept and the writer is told the write failed;
// WriteLabelPdf throws it once the writer has ended.
class ReplacingFileDevice : public QIODevice {
  public:
    explicit ReplacingFileDevice(ReplacingFile& file) : m_file(file) { open(QIODevice::WriteOnly); }

    const std::optional<FileError>& failure() const { return m_failure; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (m_failure)
            return -1;
        try {
            m_file.Write(std::string_view(data, static_cast<std::size_t>(size)));
            return size;
        } catch (const FileError& error) {
            m_failure = error;
            return -1;
        }
    }

  private:
    ReplacingFile& m_file;
    std::optional<FileError> m_failure;
};

// Qt's PDF writer builds each page's contents in a buffer that grows while the page is drawn
// and is given back when the next page begins. glibc hands such memory back to the system
// every time and asks for it again on the next page, which cost a third of the drawing time;
// keeping it in the process (a few MB at most) avoids that.
void keepFreedMemoryForNextPage() {
#ifdef __GLIBC__
    constexpr int kKeep = 64 * 1024 * 1024;
    mallopt(M_TRIM_THRESHOLD, kKeep);
    mallopt(M_TOP_PAD, 16 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
#endif
}

}  // namespace

LabelsDrawn WriteLabelPdf(const std::string& path, RunObjects& run, const LabelJob& job) {
    keepFreedMemoryForNextPage();
    ReplacingFile file(path);
    ReplacingFileDevice device(file);
    LabelsDrawn drawn;
    {
        QPdfWriter writer(&device);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(LabelPageLayout(job.Sheet));
        writer.setCreator(LabelString(run.Values.ProgramFileName + " " + run.Values.VersionText));
        writer.setTitle(QString::fromStdString(
            std::filesystem::path(run.Values.InputFileName).filename().string()));
        QPainter painter;
        if (!painter.begin(&writer))
            throw FileError("The PDF writer could not start: " + path, path);
        drawn = PaintLabelPages(painter, writer, run, job);
        if (!painter.end() && !device.failure())
            throw FileError("The PDF writer could not finish: " + path, path);
    }
    if (device.failure())
        throw *device.failure();
    file.Commit();
    return drawn;
}

PaintingApplication::PaintingApplication() {
    if (QCoreApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about its own surroundings (no runtime directory on a server, say) are no
    // business of a batch run's output; its errors still reach standard error.
    m_previousHandler = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::fprintf(stderr, "%s\n", qPrintable(message));
        });
    m_application = std::make_unique<QGuiApplication>(m_argc, m_argv);
}

PaintingApplication::~PaintingApplication() {
    m_application.reset();
    if (m_previousHandler != nullptr)
        qInstallMessageHandler(m_previousHandler);
}

}  // namespace velmark::painter
