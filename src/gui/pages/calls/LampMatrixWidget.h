#pragma once

#include <QStringList>
#include <QWidget>

#include <array>

class LampMatrix;

// The diagnosis matrix as drawn: column headers, the extension names, a grey field with a black
// grid and a green lamp on every crossing that is on, and the dialled number of each extension.
// It paints the core's lamp state and holds none of its own.
class LampMatrixWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int LampDiameter = 11;
    static constexpr int FirstColumnX = 5;

    explicit LampMatrixWidget(const LampMatrix& lamps, QWidget* parent = nullptr);

    static QStringList headers(); // "Amt1" .. "Ruf" for columns 1..9
    void setNames(const QStringList& names);
    void setNumber(int row, const QString& text);
    QString number(int row) const;
    const LampMatrix& lamps() const { return m_lamps; }
    // "21  Wohnzimmer, Amt1": the row's caption and the column ("Hörer" for column 0).
    QString lampName(int row, int column) const;
    // Where the field starts and where a crossing lies in it, for tests and the painting.
    QRect field() const;
    QPoint crossing(int row, int column) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const LampMatrix& m_lamps;
    QStringList m_names;
    std::array<QString, 8> m_numbers;
};
