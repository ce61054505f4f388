#include "gui/report/report_body.h"

#include "gui/sheet/grid_actions.h"
#include "gui/sheet/grid_units.h"
#include "gui/sheet/sheet_grid.h"
#include "gui/shell/child_window.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace mirkano {

ReportBody::ReportBody(ChildWindow* window, const QString& description, std::function<void()> print)
    : m_body(new QWidget(window))
{
    m_body->setFont(uiFont());
    m_layout = new QVBoxLayout(m_body);
    m_layout->setContentsMargins(twipsToPixels(120), 6, twipsToPixels(120), 6);
    m_layout->setSpacing(6);

    m_description = new QLabel(description, m_body);
    m_description->setObjectName(QStringLiteral("Label1"));
    m_description->setWordWrap(true);

    m_print = button(QStringLiteral("印刷"), QStringLiteral("cmdPrint"));
    m_close = button(QStringLiteral("閉じる"), QStringLiteral("Command1"));
    QObject::connect(m_close, &QPushButton::clicked, window, &QMdiSubWindow::close);
    QObject::connect(m_print, &QPushButton::clicked, window, std::move(print));
}

QPushButton* ReportBody::button(const QString& text, const QString& objectName) const
{
    auto* b = new QPushButton(text, m_body);
    b->setObjectName(objectName);
    b->setFixedSize(64, 24);
    return b;
}

void ReportBody::addDescription()
{
    m_layout->addWidget(m_description);
}

void ReportBody::addDescriptionBeside(Qt::Orientation direction, std::initializer_list<QPushButton*> buttons)
{
    auto* top = new QHBoxLayout;
    top->addWidget(m_description, 1, Qt::AlignTop);
    if (direction == Qt::Horizontal) {
        for (QPushButton* b : buttons)
            top->addWidget(b, 0, Qt::AlignTop);
    } else {
        auto* column = new QVBoxLayout;
        column->setSpacing(4);
        for (QPushButton* b : buttons)
            column->addWidget(b);
        column->addStretch(1);
        top->addLayout(column);
    }
    m_layout->addLayout(top);
}

QLabel* ReportBody::addSummary(const QString& objectName, bool wrap)
{
    auto* summary = new QLabel(m_body);
    summary->setObjectName(objectName);
    summary->setWordWrap(wrap);
    m_layout->addWidget(summary);
    return summary;
}

SheetGrid* ReportBody::makeGrid(QWidget* parent) const
{
    auto* grid = new SheetGrid(parent ? parent : m_body);
    grid->setObjectName(QStringLiteral("fpSpread1"));
    // The grid's 印刷… prints what the button does (nothing while the
    // button is disabled).
    QPushButton* print = m_print;
    GridActions::of(grid)->printHandler = [print] { print->click(); };
    return grid;
}

void ReportBody::addGridAtOwnSize(SheetGrid* grid)
{
    // The grid keeps its own size; a long result scrolls inside it.
    m_layout->addWidget(grid, 0, Qt::AlignLeft | Qt::AlignTop);
    m_layout->addStretch(1);
}

}  // namespace mirkano
