#pragma once

#include "config/PrintContent.h"

#include <QPushButton>

#include <functional>

class AppCore;
class QMenu;

// "Drucken..." with its menu of the three printouts below it, and the same three into a PDF file.
class PrintButton : public QPushButton
{
    Q_OBJECT
public:
    // Asks for the PDF file: the directory and the proposed name; empty is a cancel.
    using PathPrompt = std::function<QString(const QString& directory, const QString& proposed)>;

    explicit PrintButton(AppCore& core, QWidget* parent = nullptr);

    QMenu* printMenu() const { return m_menu; }
    QMenu* pdfMenu() const { return m_pdfMenu; }
    void setPathPrompt(PathPrompt prompt) { m_prompt = std::move(prompt); }

private:
    void addModes(QMenu* menu, bool toPdf);
    void printToPdf(PrintMode mode);

    AppCore& m_core;
    QMenu* m_menu;
    QMenu* m_pdfMenu;
    QString m_directory;
    PathPrompt m_prompt;
};
