#include "gui/maintenance/update_source_dialog.h"

#include "core/game/game_files.h"
#include "core/maintenance/history_merge.h"
#include "core/maintenance/history_source.h"
#include "core/maintenance/history_update.h"
#include "core/files/file_write.h"
#include "core/history/history_store.h"
#include "gui/maintenance/ask.h"
#include "gui/sheet/grid_units.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirkano {

namespace {

const QString kTestText = QStringLiteral("テスト(&T)");
const QString kStopText = QStringLiteral("中止(&S)");

}  // namespace

void saveConfiguredServer(const QString& programDir, const QString& address, GameId game)
{
    const QString path = QDir(programDir).filePath(updateServerFileName(game));
    const QByteArray text = QStringLiteral("# %1の当選データ最新化の取得先（データ管理 → 最新化の設定… で変更できます）\n")
                                .arg(mirkano::game(game).name)
                                .toUtf8()
                            + address.trimmed().toUtf8() + '\n';
    if (const QString cause = writeFileWhole(path, text); !cause.isEmpty())
        throw Error(QStringLiteral("設定ファイル「%1」に書き込めません：%2").arg(QDir::toNativeSeparators(path), cause));
}

UpdateSourceDialog::UpdateSourceDialog(QString programDir, QString historyPath, GameId game, DownloadLimits limits,
                                       QWidget* parent)
    : QDialog(parent), m_programDir(std::move(programDir)), m_historyPath(std::move(historyPath)), m_game(game),
      m_limits(limits)
{
    setObjectName(QStringLiteral("updateSourceDialog"));
    const QString name = mirkano::game(game).name.toString();
    setWindowTitle(QStringLiteral("最新化の設定 － %1").arg(name));
    setFont(uiFont());
    auto* layout = new QVBoxLayout(this);
    // Each game has its own address; the example is the game's own CSV.
    auto* intro = new QLabel(
        QStringLiteral("%1の当選データ最新化で当選データを取り込むアドレスを入力してください。\n"
                       "ミルカノの当選データファイルを置いたサーバー（例：http://example.jp:8080）か、"
                       "%1の当選数字のCSVファイルそのもののアドレス（例：https://example.jp/%2.csv）です。")
            .arg(name, mirkano::game(game).cliName.toString()),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* row = new QHBoxLayout;
    m_address = new QLineEdit(configuredServer(m_programDir, m_game), this);
    m_address->setObjectName(QStringLiteral("sourceAddress"));
    m_address->setMinimumWidth(420);
    m_test = new QPushButton(kTestText, this);
    m_test->setObjectName(QStringLiteral("testSource"));
    m_test->setAutoDefault(false);
    row->addWidget(m_address, 1);
    row->addWidget(m_test);
    layout->addLayout(row);

    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("testResult"));
    m_result->setWordWrap(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_result->setMinimumHeight(m_result->fontMetrics().lineSpacing() * 3);
    layout->addWidget(m_result);

    const QByteArray variable = updateServerVariable(m_game);
    if (!qEnvironmentVariable(variable.constData()).trimmed().isEmpty()) {
        auto* note = new QLabel(QStringLiteral("環境変数 %1 が設定されているため、最新化ではそちらのアドレスが使われます。")
                                    .arg(QString::fromLatin1(variable)),
                                this);
        note->setWordWrap(true);
        layout->addWidget(note);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &UpdateSourceDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &UpdateSourceDialog::reject);
    connect(m_test, &QPushButton::clicked, this, &UpdateSourceDialog::startOrStopTest);
    connect(m_address, &QLineEdit::textEdited, this, [this] { m_result->clear(); });
}

UpdateSourceDialog::~UpdateSourceDialog() { stopTest(); }

void UpdateSourceDialog::startOrStopTest()
{
    if (m_download) {
        m_download->cancel();
        return;
    }
    QUrl url;
    try {
        url = historyUrl(m_address->text(), m_game);
    } catch (const Error& e) {
        m_result->setText(e.message());
        emit testFinished();
        return;
    }
    m_download = new HistoryDownload(url, m_limits, this);
    connect(m_download, &HistoryDownload::progress, this, [this](qint64 received, qint64) {
        m_result->setText(
            QStringLiteral("受信しています… %1 バイト").arg(QLocale(QLocale::Japanese, QLocale::Japan).toString(received)));
    });
    connect(m_download, &HistoryDownload::finished, this, &UpdateSourceDialog::showTestOutcome);
    m_test->setText(kStopText);
    m_result->setText(QStringLiteral("接続しています… %1").arg(url.toString()));
    m_download->start();
}

void UpdateSourceDialog::showTestOutcome()
{
    const DownloadOutcome outcome = m_download->outcome();
    const QString shown = m_download->url().toString();
    stopTest();
    if (outcome.cancelled) {
        m_result->setText(QStringLiteral("テストを中止しました。"));
    } else if (!outcome.ok()) {
        m_result->setText(outcome.error);
    } else {
        try {
            const SourceHistory source = readSourceHistory(outcome.body, shown, m_game, m_historyPath);
            int complete = 0;
            for (const DrawRecord& r : source.rows)
                complete += r.complete();
            const QString kind = source.kind == SourceKind::Csv ? QStringLiteral("CSV") : QStringLiteral("当選データファイル");
            QString text = QStringLiteral("取得できました（%1）：%2回分の当選データがあります。").arg(kind).arg(complete);
            try {
                const MergeResult merged = mergeHistories(loadHistory(m_historyPath, m_game), source.rows, MergePreference::Mine);
                text += QStringLiteral("\nそのうち %1回が手元にない新しい回です。").arg(merged.added);
                if (!merged.conflicts.empty())
                    text += QStringLiteral("\n手元と数字が違う回が %1回あります（最新化のときに確認します）。")
                                .arg(int(merged.conflicts.size()));
            } catch (const Error& e) {
                text += u'\n' + e.message();
            }
            m_result->setText(text);
        } catch (const Error& e) {
            m_result->setText(e.message());
        }
    }
    emit testFinished();
}

void UpdateSourceDialog::stopTest()
{
    if (!m_download)
        return;
    HistoryDownload* d = m_download;
    m_download = nullptr;
    d->disconnect(this);
    if (!d->isFinished())
        d->cancel();
    d->deleteLater();
    m_test->setText(kTestText);
}

void UpdateSourceDialog::accept()
{
    const QString address = m_address->text().trimmed();
    if (!address.isEmpty()) {
        try {
            historyUrl(address, m_game);
        } catch (const Error& e) {
            showMessageBox(this, QMessageBox::Critical, kMessageTitle, e.message(), QMessageBox::Ok, QMessageBox::Ok);
            m_address->setFocus();
            return;
        }
    }
    try {
        saveConfiguredServer(m_programDir, address, m_game);
    } catch (const Error& e) {
        showMessageBox(this, QMessageBox::Critical, kMessageTitle, e.message(), QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    stopTest();
    QDialog::accept();
}

void UpdateSourceDialog::reject()
{
    stopTest();
    QDialog::reject();
}

}  // namespace mirkano
