#include "CallListView.h"

#include "charges/CallList.h"
#include "charges/CallListExport.h"
#include "charges/CallListFilter.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

CallListView::CallListView(CallList& list, QWidget* parent)
    : QWidget(parent), m_list(list), m_filter(new CallListFilter(list, this)), m_search(new QLineEdit(this)),
      m_table(new QTableView(this)), m_footer(new QLabel(this)),
      m_export(new QPushButton(QStringLiteral("Exportieren..."), this))
{
    m_search->setPlaceholderText(QStringLiteral("Suchen"));
    m_search->setAccessibleName(QStringLiteral("Suchen"));
    m_search->setClearButtonEnabled(true);
    m_search->setWhatsThis(QStringLiteral("Zeigt nur die Gespräche, die den Text in einer Spalte enthalten."));
    m_export->setWhatsThis(QStringLiteral("Speichert die angezeigten Gespräche als CSV-Datei."));
    m_table->setModel(m_filter);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setSectionsClickable(true);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    // Sorting is the filter's (its rules and the reversing click), not the view's.
    m_table->setSortingEnabled(false);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Suche:"), this));
    top->addWidget(m_search, 1);
    m_buttons = new QHBoxLayout;
    m_buttons->addWidget(m_footer, 1);
    m_buttons->addWidget(m_export);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addLayout(m_buttons);

    connect(m_search, &QLineEdit::textChanged, m_filter, &CallListFilter::setSearch);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_filter->clickColumn(column);
        m_table->horizontalHeader()->setSortIndicatorShown(true);
        m_table->horizontalHeader()->setSortIndicator(column, m_filter->signedColumn() > 0 ? Qt::AscendingOrder
                                                                                           : Qt::DescendingOrder);
    });
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        const int row = m_filter->sourceRow(index.row());
        if (row >= 0)
            Q_EMIT rowActivated(row);
    });
    connect(m_export, &QPushButton::clicked, this, &CallListView::chooseExportFile);
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &CallListView::updateFooter);
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &CallListView::updateFooter);
    connect(m_filter, &QAbstractItemModel::modelReset, this, &CallListView::updateFooter);
    connect(m_filter, &QAbstractItemModel::modelReset, this, &CallListView::scrollToEnd);
    // The range grows with the rows and the view's height, whenever the view lays itself out.
    QScrollBar* bar = m_table->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) { m_atEnd = value == bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this](int, int maximum) { followEnd(maximum); });
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &CallListView::updateFooter);
    connect(m_filter, &QAbstractItemModel::dataChanged, this, &CallListView::updateFooter);
    updateFooter();
}

void CallListView::setLocked(bool locked)
{
    m_export->setEnabled(!locked);
}

void CallListView::scrollToEnd()
{
    m_atEnd = true;
    m_table->scrollToBottom();
}

void CallListView::followEnd(int maximum)
{
    if (m_atEnd && m_filter->signedColumn() == 0)
        m_table->verticalScrollBar()->setValue(maximum);
}

void CallListView::updateFooter()
{
    m_footer->setText(m_filter->footerText());
}

bool CallListView::exportTo(const QString& path)
{
    const bool ok = CallListExport::writeCsv(*m_filter, path);
    Q_EMIT exported(ok, path);
    return ok;
}

void CallListView::addButton(QPushButton* button)
{
    m_buttons->insertWidget(m_buttons->count() - 1, button);
}

int CallListView::currentListRow() const
{
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() && m_table->selectionModel()->isRowSelected(current.row(), {})
               ? m_filter->sourceRow(current.row())
               : -1;
}

void CallListView::chooseExportFile()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Gespräche exportieren"), QString(),
                                                      QStringLiteral("CSV-Dateien (*.csv)"));
    if (!path.isEmpty())
        exportTo(path);
}
