#pragma once

#include "Page.h"

#include <array>

class ValueLabel;

// "Grundkonfiguration": the exchange's global data, the ten MSNs with their ring rhythm and the
// CAPI driver lines. Values changed on the MSN page are red until the next decode.
class OverviewPage : public Page
{
    Q_OBJECT
public:
    explicit OverviewPage(AppCore& core, QWidget* parent = nullptr);

    void refresh() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildExchangeBox();
    QWidget* buildMsnBox();
    QWidget* buildCapiBox();
    void refreshCapi();

    ValueLabel* m_connection;
    ValueLabel* m_protocol;
    ValueLabel* m_firmware;
    ValueLabel* m_extensions;
    ValueLabel* m_internalS0;
    ValueLabel* m_externalS0;
    ValueLabel* m_musicOnHold;
    ValueLabel* m_messageOnHold;
    std::array<ValueLabel*, 10> m_numbers{};
    std::array<ValueLabel*, 10> m_rhythms{};
    ValueLabel* m_capi;
    ValueLabel* m_capiVersion;
};
