#include "ui/more_streams_list.h"

#include "subtitles/file_name_language.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace marvoxa {

MoreStreamsList::MoreStreamsList(const QList<StreamChoice>& streams,
                                 std::function<QString()> picker, QWidget* parent)
    : QWidget(parent),
      picker_(std::move(picker)),
      rowsLayout_(new QVBoxLayout),
      add_(new QPushButton(QStringLiteral("Add stream"), this)) {
    setObjectName(QStringLiteral("MoreStreamsList"));
    rowsLayout_->setContentsMargins(0, 0, 0, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(rowsLayout_);
    layout->addWidget(add_, 0, Qt::AlignLeft);
    add_->setToolTip(QStringLiteral("A further subtitle file, written as one more stream"));
    connect(add_, &QPushButton::clicked, this, [this] {
        addRow({});
        rows_.back().path->setFocus();
    });
    for (const StreamChoice& stream : streams) {
        addRow(stream);
    }
    chainTabOrder();
}

QList<StreamChoice> MoreStreamsList::streams() const {
    QList<StreamChoice> streams;
    for (const Row& row : rows_) {
        streams.append({row.path->text().trimmed(), row.language->text()});
    }
    return streams;
}

void MoreStreamsList::addRow(const StreamChoice& stream) {
    auto* box = new QWidget(this);
    auto* line = new QHBoxLayout(box);
    line->setContentsMargins(0, 0, 0, 0);
    const Row row{box, new QLineEdit(stream.path, box), new QPushButton(QStringLiteral("..."), box),
                  new QLineEdit(stream.language, box),
                  new QPushButton(QStringLiteral("Remove"), box)};
    row.path->setPlaceholderText(QStringLiteral("Subtitle file"));
    row.path->setMinimumWidth(220);
    row.pick->setToolTip(QStringLiteral("Choose the subtitle file"));
    row.pick->setMaximumWidth(32);
    row.language->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[a-z]{0,2}")), row.language));
    row.language->setMaximumWidth(40);
    row.language->setPlaceholderText(QStringLiteral("name"));
    row.language->setToolTip(
        QStringLiteral("Two lower-case letters; left empty, the file's name gives it, "
                       "as in film.fr.srt"));
    line->addWidget(row.path, 1);
    line->addWidget(row.pick);
    line->addWidget(row.language);
    line->addWidget(row.remove);
    rowsLayout_->addWidget(box);
    box->show();  // at once, not when the layout gets round to it: Tab must reach it now
    rows_.append(row);
    connect(row.pick, &QPushButton::clicked, this, [this, box] { pick(box); });
    connect(row.remove, &QPushButton::clicked, this, [this, box] { remove(box); });
    chainTabOrder();
}

int MoreStreamsList::rowOf(QWidget* box) const {
    for (int i = 0; i < rows_.size(); ++i) {
        if (rows_[i].box == box) {
            return i;
        }
    }
    return -1;
}

void MoreStreamsList::pick(QWidget* box) {
    const int index = rowOf(box);
    const QString path = picker_ ? picker_() : QString();
    if (index < 0 || path.isEmpty()) {
        return;
    }
    const Row& row = rows_[index];
    row.path->setText(path);
    if (row.language->text().isEmpty()) {
        row.language->setText(LanguageFromFileName(path).value_or(QString()));
    }
    row.language->setFocus();
}

void MoreStreamsList::remove(QWidget* box) {
    const int index = rowOf(box);
    if (index < 0) {
        return;
    }
    rows_.removeAt(index);
    box->hide();
    box->deleteLater();
    // The focus goes on to the row that took its place, or to "Add stream".
    if (index < rows_.size()) {
        rows_[index].path->setFocus();
    } else {
        add_->setFocus();
    }
    chainTabOrder();
}

void MoreStreamsList::chainTabOrder() {
    QWidget* previous = nullptr;
    for (const Row& row : rows_) {
        for (QWidget* control :
             {static_cast<QWidget*>(row.path), static_cast<QWidget*>(row.pick),
              static_cast<QWidget*>(row.language), static_cast<QWidget*>(row.remove)}) {
            if (previous != nullptr) {
                setTabOrder(previous, control);
            }
            previous = control;
        }
    }
    if (previous != nullptr) {
        setTabOrder(previous, add_);
    }
}

}  // namespace marvoxa
