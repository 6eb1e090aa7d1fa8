// One workstation of the concurrency tests, run as its own process on a shared embedded folder.
// It waits until the file GO appears in the folder, so that every workstation starts at once.
//
//   sr_concurrency_helper save FOLDER COUNT   saves COUNT new requests, ordinary and
//                                             consolidation in turn; prints "N number" per save
//                                             or "E message" per refusal
//   sr_concurrency_helper ack FOLDER RECORD   acknowledges the issue document RECORD as DEMO,
//                                             answering Yes to every question but the print;
//                                             prints every message shown, one a line

#include "acknowledge/frmAcknowledgement.h"
#include "platform/db/EmbeddedConnection.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Prompt.h"
#include "platform/user/CurrentUser.h"
#include "request/Numbering.h"
#include "session/Inventory.h"
#include "session/Session.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QThread>
#include <cstdio>

namespace {

class AnsweringPrompt final : public ui::Prompt
{
public:
    ui::Answer show(const ui::PromptRequest &request) override
    {
        std::printf("M %s\n", request.text.simplified().toUtf8().constData());
        if (request.buttons == ui::Buttons::Ok)
            return ui::Answer::Ok;
        return request.text.startsWith(QLatin1String("Print")) ? ui::Answer::No : ui::Answer::Yes;
    }
};

void waitForStart(const QString &folder)
{
    // Tells the test this workstation is ready (its form loaded), then waits for the others.
    QFile ready(
        QDir(folder).filePath(QStringLiteral("READY.%1").arg(QCoreApplication::applicationPid())));
    if (ready.open(QIODevice::WriteOnly))
        ready.close();
    const QString go = QDir(folder).filePath(QStringLiteral("GO"));
    while (!QFile::exists(go))
        QThread::usleep(500);
}

int save(db::Connection &connection, int count)
{
    int refused = 0;
    for (int i = 0; i < count; ++i) {
        // The statements of a new document's save, as the main form sends them: the number is
        // drawn inside the transaction that writes the document.
        const QString table = i % 2 ? QStringLiteral("tbInvWithdrawRequestConsolidation")
                                    : QStringLiteral("tbInvWithdrawRequest");
        try {
            db::Transaction transaction = connection.begin();
            const QString number = DrawNewDocNumber();
            connection.execute(QStringLiteral("Delete INVENTORY..%1 Where DocumentNumber = %2")
                                   .arg(table, db::quote(number)));
            connection.execute(
                QStringLiteral("Insert INVENTORY..%1 (DocumentNumber, ItemID, Quantity, "
                               "LocationID, TargetLocationID, UserID) Values (%2, '1001', 1, "
                               "'21', '18', 'DEMO')")
                    .arg(table, db::quote(number)));
            transaction.commit();
            std::printf("N %s\n", number.toUtf8().constData());
        } catch (const db::DatabaseError &error) {
            ++refused;
            std::printf("E %s\n", error.message().simplified().toUtf8().constData());
        }
        std::fflush(stdout);
    }
    return refused == 0 ? 0 : 3;
}

int acknowledge(const QString &folder, const QString &record)
{
    AnsweringPrompt prompt;
    ui::Prompt::install(&prompt);
    // Every workstation has the document on screen before any of them presses Acknowledge.
    frmAcknowledgement form;
    form.Form_Load();
    ui::FlexGrid &list = *form.grdMRIS;
    bool listed = false;
    for (int row = 1; row < list.Rows() && !listed; ++row) {
        if (list.TextMatrix(row, list.Cols() - 2) == record) {
            list.setRow(row);
            listed = true;
        }
    }
    waitForStart(folder);
    if (listed)
        form.cmdAcknowledge->click();
    ui::Prompt::install(nullptr);
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return 2;
    const QString folder = args[2];
    std::unique_ptr<db::EmbeddedConnection> connection;
    try {
        connection = db::EmbeddedConnection::open(folder);
    } catch (const db::DatabaseError &error) {
        std::printf("E %s\n", error.message().toUtf8().constData());
        return 1;
    }
    db::EmbeddedConnection *raw = connection.get();
    user::CurrentUser user;
    user.logIn(std::move(connection), QStringLiteral("DEMO"));
    Session.CurrentUser = &user;
    Session.Connection = raw;
    LoadHospitalInfo();
    int result = 2;
    if (args[1] == QLatin1String("save")) {
        waitForStart(folder);
        result = save(*raw, args[3].toInt());
    } else if (args[1] == QLatin1String("ack")) {
        result = acknowledge(folder, args[3]);
    }
    resetSession();
    return result;
}
