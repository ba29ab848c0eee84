#include "ui/unit2.h"

#include "common/version.h"
#include "ui/prompts.h"
#include "ui/updater.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStringList>
#include <QUrl>

// The pictures live in a static library; nothing else would pull them into the program.
static void InitAboutResources() {
    Q_INIT_RESOURCE(about);
}

namespace marvoxa {

namespace {

QString SiteAddress() {
    return QStringLiteral("http://%1/").arg(kMakerHost);
}

QString CreditPageAddress() {
    return QStringLiteral("http://%1/credits/").arg(kMakerHost);
}

QString DonationPageAddress() {
    return QStringLiteral("http://%1/donate?business=maker@%1&item_name=Pellorn&currency_code=EUR")
        .arg(kMakerHost);
}

QString MailAddress() {
    return QStringLiteral("maker@%1").arg(kMakerHost);
}

QString Greeting() {
    const QStringList lines = {
        QStringLiteral(
            "Hi there ! This utility converts txt subtitles in sup files in order to put "
            "them in a dvd."),
        // The site by its host name: the whole line then fits the label's width.
        QStringLiteral("The official site is : ") + QString(kMakerHost) + QStringLiteral(" ."),
        QStringLiteral("For any suggestions pls mail me at ") + MailAddress() +
            QStringLiteral(" ."),
    };
    return lines.join(u'\n');
}

QString UsageText() {
    const QStringList lines = {
        QStringLiteral("Usage : "),
        QStringLiteral("1) Just load you Original Dvd Ifo file  ex : VTS_01_0.IFO"),
        QStringLiteral("then the program automatically will read the right color pallette"),
        QStringLiteral("and pick the better colors for your sup file."),
        QStringLiteral("If you dont have an ifo file just check the associated checkbox."),
        QStringLiteral("2) After that,just load your srt. At this time the program looks the"),
        QStringLiteral("width of every textual subtitle in order to fit it on the dvd screen."),
        QStringLiteral("3) If the srt loads correctly then press Generate Sup, otherwise"),
        QStringLiteral("try to edit the srt or just pick a smaller font."),
        QString(),
        QStringLiteral("After generating the sup an help text will be generated in order "),
        QStringLiteral("to help you authoring your dvd with the Genarated.sup'"),
    };
    return lines.join(u'\n');
}

// Labels size themselves to their text unless given a size.
QLabel* AddLabel(QWidget* window, const char* name, const QString& text, int left, int top,
                 bool bold = false) {
    auto* label = new QLabel(text, window);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    label->move(left, top);
    label->adjustSize();
    return label;
}

QPushButton* AddButton(QWidget* window, const char* name, const QString& text, int top) {
    auto* button = new QPushButton(text, window);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(48, top, 201, 25);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

}  // namespace

TForm2::TForm2(Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      prompts_(prompts),
      updateHost_(kMakerHost),
      updatePort_(kHttpPort) {
    InitAboutResources();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(316, 463);
    // Escape closes the window like its close button: it only hides.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    // The small sans face the window was laid out for; its texts fit at this size.
    QFont windowFont(QStringLiteral("Liberation Sans"));
    windowFont.setPointSize(8);
    setFont(windowFont);

    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setGeometry(8, 8, 81, 81);
    image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    label1_ = new QLabel(QStringLiteral("Label1"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setTextFormat(Qt::PlainText);
    label1_->setGeometry(96, 8, 201, 81);
    label1_->setWordWrap(true);
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    label2_ = AddLabel(this, "Label2", QStringLiteral("Disc with subtitles"), 16, 96);
    label3_ = AddLabel(this, "Label3", QStringLiteral("Current version :"), 80, 112, true);
    // The release the build names; "Check Version" compares the server's answer with it.
    labelVersion_ = AddLabel(this, "LabelVersion", QString(kVersion), 176, 112, true);

    memo1_ = new QPlainTextEdit(this);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setGeometry(5, 128, 305, 177);
    memo1_->setPlainText(UsageText());
    memo1_->setReadOnly(true);
    // The longer lines wrap at the memo's width, so sideways scrolling shows nothing.
    memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    label4_ = AddLabel(this, "Label4", QStringLiteral("Special Thx to:"), 8, 308);
    label6_ = AddLabel(this, "Label6",
                       QStringLiteral("First Contributor, for the notes on the SUP format"), 8, 323,
                       true);
    label5_ = AddLabel(this, "Label5",
                       QStringLiteral("Second Contributor : ") + CreditPageAddress(), 8, 338, true);
    label5_->setCursor(Qt::PointingHandCursor);
    label5_->installEventFilter(this);

    button1_ = AddButton(this, "Button1",
                         QStringLiteral("Visit the official site ") + QString(kMakerHost), 360);
    buttonCheckVersion_ =
        AddButton(this, "ButtonCheckVersion", QStringLiteral("Check Version"), 392);

    imageDonate_ = new QLabel(this);
    imageDonate_->setObjectName(QStringLiteral("ImageDonate"));
    imageDonate_->setGeometry(184, 423, 65, 33);
    imageDonate_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imageDonate_->setPixmap(QPixmap(QStringLiteral(":/about/donate.png")));
    imageDonate_->setCursor(Qt::PointingHandCursor);
    imageDonate_->installEventFilter(this);

    connect(button1_, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(buttonCheckVersion_, &QPushButton::clicked, this, &TForm2::ButtonCheckVersionClick);

    if (const QScreen* shown = screen()) {
        move(shown->availableGeometry().center() - rect().center());
    }
    FormCreate();
}

void TForm2::setUpdateServer(const QString& host, quint16 port) {
    updateHost_ = host;
    updatePort_ = port;
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* widget = qobject_cast<QWidget*>(watched);
        // A press that slides off the picture before release is no click.
        if (mouse->button() == Qt::LeftButton && widget != nullptr &&
            widget->rect().contains(mouse->position().toPoint())) {
            if (watched == label5_) {
                Label5Click();
                return true;
            }
            if (watched == imageDonate_) {
                ImageDonateClick();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm2::FormCreate() {
    image1_->setPixmap(QPixmap(QStringLiteral(":/about/disc.png")));
    label1_->setText(Greeting());
}

void TForm2::Button1Click() {
    prompts_.openUrl(QUrl(SiteAddress()));
}

void TForm2::Label5Click() {
    prompts_.openUrl(QUrl(CreditPageAddress()));
}

void TForm2::ImageDonateClick() {
    prompts_.openUrl(QUrl(DonationPageAddress()));
}

void TForm2::ButtonCheckVersionClick() {
    const std::unique_ptr<TUpdater> updater = TUpdater::Obtain(prompts_, this);
    if (updater == nullptr) {
        return;
    }
    updater->Check(labelVersion_->text(), updateHost_, kVersionPagePath,
                   ProductPageAddress(updateHost_), updatePort_);
}

}  // namespace marvoxa
