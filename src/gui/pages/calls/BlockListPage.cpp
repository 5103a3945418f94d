#include "BlockListPage.h"

#include "shell/AppCore.h"
#include "shell/CallBlocking.h"
#include "shell/StatusLine.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

BlockListPage::BlockListPage(AppCore& core, QWidget* parent)
    : Page(core, parent), m_table(new QTableWidget(0, 2, this)), m_number(new QLineEdit(this)),
      m_note(new QLineEdit(this)), m_add(new QPushButton(QStringLiteral("&Hinzufügen"), this)),
      m_change(new QPushButton(QStringLiteral("Ä&ndern"), this)),
      m_remove(new QPushButton(QStringLiteral("&Entfernen"), this)),
      m_withheld(new QCheckBox(QStringLiteral("Anrufer mit unterdrückter Rufnummer sperren"), this))
{
    setObjectName(QStringLiteral("PanelSperrliste"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Rufnummer"), QStringLiteral("Notiz")});
    m_table->setAccessibleName(QStringLiteral("Sperrliste"));
    m_table->setWhatsThis(QStringLiteral("Anrufe dieser Rufnummern nimmt der CAPI-Anrufmonitor an und beendet sie, "
                                         "bevor die Telefone weiterklingeln. Ein * am Ende sperrt alle Nummern, "
                                         "die so beginnen."));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->setColumnWidth(0, 200);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_number->setAccessibleName(QStringLiteral("Rufnummer"));
    m_number->setPlaceholderText(QStringLiteral("z. B. 030 1234567 oder 0900*"));
    m_number->setMaxLength(BlockList::MaxNumberLength);
    m_note->setAccessibleName(QStringLiteral("Notiz"));
    m_note->setPlaceholderText(QStringLiteral("erscheint als Name im Protokoll"));
    m_note->setMaxLength(BlockList::MaxNoteLength);
    m_withheld->setAccessibleName(m_withheld->text());
    m_number->setWhatsThis(QStringLiteral("Die Rufnummer, mit \u201E+49\u201C, \u201E0049\u201C oder \u201E0\u201C "
                                          "geschrieben; ein * am Ende sperrt alle Nummern, die so beginnen."));
    m_note->setWhatsThis(QStringLiteral("Erscheint als Name des gesperrten Anrufs in \u201EAnkommende Gespräche\u201C."));
    m_add->setWhatsThis(QStringLiteral("Setzt die Rufnummer mit ihrer Notiz auf die Liste."));
    m_change->setWhatsThis(QStringLiteral("Ersetzt den gewählten Eintrag durch Rufnummer und Notiz der Felder."));
    m_remove->setWhatsThis(QStringLiteral("Nimmt den gewählten Eintrag von der Liste."));
    m_withheld->setWhatsThis(QStringLiteral("Sperrt auch Anrufer, die ihre Rufnummer nicht übermitteln."));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Rufnummer:"), m_number);
    fields->addRow(QStringLiteral("N&otiz:"), m_note);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_change);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    auto* hint = new QLabel(QStringLiteral("Gilt, solange der CAPI-Anrufmonitor läuft (\u201ECAPI-Laden\u201C). "
                                           "Gesperrte Anrufe stehen mit ihrer Notiz oder \u201EGesperrt\u201C "
                                           "in \u201EAnkommende Gespräche\u201C."),
                            this);
    hint->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(m_withheld);
    layout->addWidget(hint);

    connect(m_table, &QTableWidget::itemSelectionChanged, this, &BlockListPage::fillFields);
    connect(m_number, &QLineEdit::textChanged, this, &BlockListPage::updateButtons);
    connect(m_add, &QPushButton::clicked, this,
            [this] { changed(this->core().callBlocking().add({m_number->text(), m_note->text()})); });
    connect(m_change, &QPushButton::clicked, this, [this] {
        changed(this->core().callBlocking().replace(selectedNumber(), {m_number->text(), m_note->text()}));
    });
    connect(m_remove, &QPushButton::clicked, this,
            [this] { changed(this->core().callBlocking().remove(selectedNumber())); });
    connect(m_withheld, &QCheckBox::toggled, this, [this](bool on) {
        if (on != this->core().callBlocking().blockWithheld())
            this->core().callBlocking().setBlockWithheld(on);
    });
}

void BlockListPage::refresh()
{
    CallBlocking& blocking = core().callBlocking();
    const QList<BlockList::Entry> entries = blocking.list().entries();
    const QString selected = selectedNumber();
    m_table->setRowCount(0);
    m_table->setRowCount(static_cast<int>(entries.size()));
    for (int row = 0; row < entries.size(); ++row) {
        m_table->setItem(row, 0, new QTableWidgetItem(entries[row].number));
        m_table->setItem(row, 1, new QTableWidgetItem(entries[row].note));
        if (!selected.isEmpty() && BlockList::key(entries[row].number) == BlockList::key(selected))
            m_table->selectRow(row);
    }
    m_withheld->setChecked(blocking.blockWithheld());
    if (!blocking.readProblem().isEmpty())
        core().statusLine().showText(StatusLevel::Error, blocking.readProblem());
    updateButtons();
}

QString BlockListPage::selectedNumber() const
{
    const QList<QTableWidgetItem*> items = m_table->selectedItems();
    return items.isEmpty() ? QString() : m_table->item(items.first()->row(), 0)->text();
}

void BlockListPage::fillFields()
{
    const QList<QTableWidgetItem*> items = m_table->selectedItems();
    if (!items.isEmpty()) {
        const int row = items.first()->row();
        m_number->setText(m_table->item(row, 0)->text());
        m_note->setText(m_table->item(row, 1)->text());
    }
    updateButtons();
}

void BlockListPage::updateButtons()
{
    const bool number = !BlockList::key(m_number->text()).isEmpty();
    const bool selected = !selectedNumber().isEmpty();
    m_add->setEnabled(number);
    m_change->setEnabled(number && selected);
    m_remove->setEnabled(selected);
}

void BlockListPage::changed(bool ok)
{
    CallBlocking& blocking = core().callBlocking();
    if (!ok) {
        core().statusLine().showText(StatusLevel::Error, blocking.problem());
        return;
    }
    core().statusLine().showText(StatusLevel::Normal, QStringLiteral("Sperrliste gespeichert"));
    m_table->clearSelection();
    m_number->clear();
    m_note->clear();
    refresh();
}
