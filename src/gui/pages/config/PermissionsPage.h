#pragma once

#include "Page.h"

#include <array>

class CheckCell;
class QLabel;
class ValueLabel;

// "Berechtigungen": per extension its name, permission, service, call forwarding, charge pulse and
// spontaneous trunk access. Values changed on the extension page are red until the next decode;
// extensions the exchange does not have are greyed.
class PermissionsPage : public Page
{
    Q_OBJECT
public:
    explicit PermissionsPage(AppCore& core, QWidget* parent = nullptr);

    void refresh() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Row
    {
        QLabel* number = nullptr;
        QLabel* name = nullptr; // `Bezeichnung21` ..
        ValueLabel* permission = nullptr;
        ValueLabel* service = nullptr;
        ValueLabel* target = nullptr; // `Rufumleitung21` ..
        ValueLabel* mode = nullptr;   // `RufUmlKennung21` ..
        CheckCell* chargePulse = nullptr;
        CheckCell* trunkAccess = nullptr;
    };
    std::array<Row, 8> m_rows;
};
