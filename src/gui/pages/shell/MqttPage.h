#pragma once

#include "Page.h"

#include <functional>

class MqttProbe;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "MQTT": the broker that calls and charges go to, with the state of the connection.
// "Übernehmen" stores the fields and connects anew; "Verbindung testen" tries the fields as they
// stand, without storing them and without publishing anything.
class MqttPage : public Page
{
    Q_OBJECT

public:
    explicit MqttPage(AppCore& core, QWidget* parent = nullptr);
    ~MqttPage() override;

    void refresh() override;

    QLineEdit* serverField() const { return m_server; }
    QSpinBox* portBox() const { return m_port; }
    QLineEdit* passwordFileField() const { return m_passwordFile; }
    QPushButton* applyButton() const { return m_apply; }
    QPushButton* testButton() const { return m_test; }
    QLabel* stateLabel() const { return m_state; }
    QLabel* testLabel() const { return m_testResult; }

private:
    QWidget* buildFields();
    void apply();
    void test();
    void showState();

    QLineEdit* m_server;
    QSpinBox* m_port;
    QCheckBox* m_tls;
    QLineEdit* m_caFile;
    QLineEdit* m_user;
    QLineEdit* m_passwordFile;
    QLineEdit* m_prefix;
    QCheckBox* m_homeAssistant;
    QCheckBox* m_commands;
    QPushButton* m_apply;
    QPushButton* m_test;
    QLabel* m_state;
    QLabel* m_testResult;
    MqttProbe* m_probe = nullptr;
};
