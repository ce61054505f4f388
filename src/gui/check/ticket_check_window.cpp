#include "gui/check/ticket_check_window.h"

#include "core/check/ticket_check.h"
#include "gui/check/grow_to_body.h"
#include "gui/maintenance/ask.h"
#include "gui/report/report_body.h"
#include "gui/sheet/grid_actions.h"
#include "gui/sheet/grid_units.h"
#include "gui/sheet/sheet_print.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirkano {

namespace {

// "６個": the count in full-width digits, as the window's text writes it.
QString fullWidthCount(int n)
{
    QString digits = QString::number(n);
    for (QChar& c : digits)
        c = QChar(c.unicode() - u'0' + u'０');
    return digits + QStringLiteral("個");
}

}  // namespace

TicketCheckWindow::TicketCheckWindow(GameId game, QWidget* parent) : ChildWindow(parent), m_game(game)
{
    setWindowTitle(QStringLiteral("当選確認"));
    setObjectName(QStringLiteral("ticket-check"));

    const Game& g = mirkano::game(m_game);
    ReportBody report(this,
                      QStringLiteral("入力した%1の数字が過去の抽せんで当選していたか確認します").arg(fullWidthCount(g.mains)),
                      [this] { print(); });
    QWidget* body = report.widget();
    m_description = report.description();
    report.addDescription();

    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    for (int i = 0; i < g.mains; ++i) {
        auto* e = new QLineEdit(body);
        e->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        e->setMaxLength(2);
        e->setAlignment(Qt::AlignCenter);
        e->setFixedWidth(36);
        // Enter in any entry checks, as the button does.
        connect(e, &QLineEdit::returnPressed, this, [this] { check(); });
        m_entries.push_back(e);
        row->addWidget(e);
    }
    row->addSpacing(8);
    m_check = report.button(QStringLiteral("確認"), QStringLiteral("Command2"));
    m_print = report.printButton();
    m_close = report.closeButton();
    for (QPushButton* b : {m_check, m_print, m_close})
        row->addWidget(b);
    row->addStretch(1);
    report.layout()->addLayout(row);
    // Tab goes from the entries to 確認, 印刷 and 閉じる, in the row's order.
    QWidget::setTabOrder(m_entries.back(), m_check);
    QWidget::setTabOrder(m_check, m_print);
    QWidget::setTabOrder(m_print, m_close);
    connect(m_check, &QPushButton::clicked, this, [this] { check(); });
    // Return on a focused button presses it, as Space does.
    m_check->installEventFilter(this);
    m_print->installEventFilter(this);
    m_close->installEventFilter(this);

    m_summary = report.addSummary(QStringLiteral("Label2"), false);

    m_grid = report.makeGrid();
    report.addGridAtOwnSize(m_grid);

    setBody(body);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
}

void TicketCheckWindow::load(const History& history)
{
    emit opened();
    m_history = history;
    move(0, 0);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    // Until the first check the grid shows its header alone.
    showEmptyResult();
    m_entries[0]->setFocus();
}

void TicketCheckWindow::showEmptyResult()
{
    TicketCheck none;
    none.gameId = m_game;
    m_grid->setSheet(buildTicketCheckSheet(none));
    m_grid->setFixedSize(m_grid->sizeHint());
    m_summary->clear();
    m_checked.clear();
    setPrintSource(historySourceText(m_game, m_history));
}

void TicketCheckWindow::showEvent(QShowEvent* e)
{
    ChildWindow::showEvent(e);
    growToShowBody(this);
}

bool TicketCheckWindow::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyPress && (watched == m_check || watched == m_print || watched == m_close)) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            static_cast<QPushButton*>(watched)->click();
            return true;
        }
    }
    return ChildWindow::eventFilter(watched, e);
}

bool TicketCheckWindow::check()
{
    QStringList entries;
    for (const QLineEdit* e : m_entries)
        entries << e->text();
    Ticket ticket;
    try {
        ticket = parseTicket(entries, m_game);
    } catch (const TicketError& e) {
        // The result of an earlier ticket must not stand under numbers it
        // does not belong to.
        showEmptyResult();
        showRefusal(e.message());
        return false;
    }
    const TicketCheck result = checkTicket(m_history, ticket, m_game);
    m_grid->setSheet(buildTicketCheckSheet(result));
    m_grid->setFixedSize(m_grid->sizeHint());
    m_summary->setText(ticketCheckSummary(result));
    QStringList numbers;
    for (int n : ticket)
        numbers << QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    m_checked = numbers.join(u' ');
    // The history this result was checked against, not a newer one kept
    // for the next check.
    setPrintSource(historySourceText(m_game, m_history));
    // A long result brings the grid's scroll bar: the window makes room for it.
    growToShowBody(this);
    return true;
}

void TicketCheckWindow::printTo(QPagedPaintDevice& device) const
{
    QStringList lines{m_description->text()};
    lines << (m_checked.isEmpty() ? QStringLiteral("確認した数字：なし") : QStringLiteral("確認した数字：") + m_checked);
    if (!m_summary->text().isEmpty())
        lines << m_summary->text();
    printSheetUnderLines(device, {windowTitle(), printSource()}, lines, m_grid->sheet());
}

void TicketCheckWindow::print()
{
    showPrintPreview(this, windowTitle(), preferredOrientation(m_grid->sheet()),
                     [this](QPagedPaintDevice& device) { printTo(device); });
}

void TicketCheckWindow::showRefusal(const QString& text)
{
    showMessageBox(this, QMessageBox::Warning, kMessageTitle, text, QMessageBox::Ok, QMessageBox::Ok);
}

}  // namespace mirkano
