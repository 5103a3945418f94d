#pragma once

#include <QStringList>
#include <QVector>
#include <QWidget>

// A read-only grid of check cells with row and column captions. A cell can be set, marked as changed
// since the last decode (drawn red), or greyed out for an extension the exchange does not have.
class CheckMatrix : public QWidget
{
    Q_OBJECT
public:
    explicit CheckMatrix(QWidget* parent = nullptr);

    void setCaptions(const QStringList& rowCaptions, const QStringList& columnCaptions);
    void setRowCaption(int row, const QString& caption);
    void setCell(int row, int column, bool set, bool marked = false);
    void setGreyed(int row, int column, bool greyed);
    void clearCells();

    int rowCount() const { return static_cast<int>(m_rowCaptions.size()); }
    int columnCount() const { return static_cast<int>(m_columnCaptions.size()); }
    bool isSet(int row, int column) const;
    bool isMarked(int row, int column) const;
    bool isGreyed(int row, int column) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Cell
    {
        bool set = false;
        bool marked = false;
        bool greyed = false;
    };
    const Cell* cell(int row, int column) const;
    Cell* cell(int row, int column);
    int rowCaptionWidth() const;
    int cellWidth() const;
    int cellHeight() const;
    QRect cellRect(int row, int column) const;

    QStringList m_rowCaptions;
    QStringList m_columnCaptions;
    QVector<Cell> m_cells;
};
