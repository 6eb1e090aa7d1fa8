#pragma once

#include "platform/report/Report.h"
#include "request/MainFormTest.h"
#include "session/Reports.h"

#include <QDialog>
#include <QTextBrowser>

namespace testing_support {

// What a report viewer showed: its title, its template, its parameter values and its text.
struct ShownReport
{
    QString title;
    QString templateName;
    QStringList values;
    QString text;
};

// The demo hospital with the templates of the source tree as the program's folder.
class ReportTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        setProgramFolder(QStringLiteral(SR_SOURCE_DIR "/reports"));
    }

    void TearDown() override
    {
        setProgramFolder(QString());
        MainFormTest::TearDown();
    }

    // The next report viewer is recorded into shownReports and closed.
    void expectViewer(const std::function<void(QDialog &)> &also = {})
    {
        modal.expect([this, also](QDialog &dialog) {
            ShownReport shown;
            shown.title = dialog.windowTitle();
            if (const report::Report *report = Session.Report) {
                shown.templateName = QFileInfo(report->filePath()).fileName();
                for (const report::ParameterField &field : report->ParameterFields())
                    shown.values << field.value();
            }
            if (auto *viewer = dialog.findChild<QTextBrowser *>(QStringLiteral("CRViewer1")))
                shown.text = viewer->toPlainText();
            shownReports.push_back(shown);
            if (also)
                also(dialog);
            dialog.reject();
        });
    }

    std::vector<ShownReport> shownReports;
};

} // namespace testing_support
