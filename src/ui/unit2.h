#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace marvoxa {

class Prompts;

// The About window: greeting, running version, usage guide, credits, three links and the
// version check. Made once at start; closing only hides it, so "About" shows it again as it
// was. Every control carries its name as object name.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    explicit TForm2(Prompts& prompts, QWidget* parent = nullptr);

    // The server "Check Version" asks: the maker's server on port 80 unless aimed elsewhere,
    // as tests do at a local server.
    void setUpdateServer(const QString& host, quint16 port);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void Button1Click();
    void Label5Click();
    void ImageDonateClick();
    void ButtonCheckVersionClick();

    Prompts& prompts_;
    QString updateHost_;
    quint16 updatePort_;

    QLabel* image1_;
    QLabel* label1_;
    QLabel* label2_;
    QLabel* label3_;
    QLabel* labelVersion_;
    QPlainTextEdit* memo1_;
    QLabel* label4_;
    QLabel* label6_;
    QLabel* label5_;
    QPushButton* button1_;
    QPushButton* buttonCheckVersion_;
    QLabel* imageDonate_;
};

}  // namespace marvoxa
