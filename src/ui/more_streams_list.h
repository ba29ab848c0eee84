#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace marvoxa {

// A further subtitle file that "Generate Sup" turns into a stream of its own.
struct StreamChoice {
    QString path;      // empty: a row not filled in yet, which generates nothing
    QString language;  // two letters; empty: taken from the file's name

    friend bool operator==(const StreamChoice&, const StreamChoice&) = default;
};

// The Options dialog's "More subtitle streams": one row a file, with the file's path, a
// button that picks it and its language; "Add stream" adds a row and moves the focus into it,
// each row's "Remove" takes it away. Every control is reached with Tab in row order.
class MoreStreamsList : public QWidget {
    Q_OBJECT

public:
    // picker asks for a subtitle file: its path, or empty when cancelled.
    MoreStreamsList(const QList<StreamChoice>& streams, std::function<QString()> picker,
                    QWidget* parent = nullptr);

    QList<StreamChoice> streams() const;

    QPushButton* addButton() const { return add_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    QLineEdit* pathField(int row) const { return rows_.at(row).path; }
    QPushButton* pickButton(int row) const { return rows_.at(row).pick; }
    QLineEdit* languageField(int row) const { return rows_.at(row).language; }
    QPushButton* removeButton(int row) const { return rows_.at(row).remove; }

private:
    struct Row {
        QWidget* box;
        QLineEdit* path;
        QPushButton* pick;
        QLineEdit* language;
        QPushButton* remove;
    };

    void addRow(const StreamChoice& stream);
    void pick(QWidget* box);
    void remove(QWidget* box);
    void chainTabOrder();
    int rowOf(QWidget* box) const;

    std::function<QString()> picker_;
    QVBoxLayout* rowsLayout_;
    QPushButton* add_;
    QList<Row> rows_;
};

}  // namespace marvoxa
