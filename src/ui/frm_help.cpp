#include "ui/frm_help.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QPushButton>
#include <QVBoxLayout>

#include "help/help_topics.h"
#include "platform/product.h"

namespace quorvale::ui {
namespace {

QString FromCore(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const char* tip) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  if (tip != nullptr) button->setToolTip(QString::fromLatin1(tip));
  // Return and Enter press no button of their own accord; only Escape has a meaning here.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

FrmHelp::FrmHelp(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmHelp"));
  setModal(true);
  const QString caption = QString::fromStdString(WindowTitle("Help"));
  setWindowTitle(caption);
  resize(760, 500);

  lblTitle = new QLabel(caption, this);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  QFont title_font = lblTitle->font();
  title_font.setPointSizeF(title_font.pointSizeF() * 1.4);
  title_font.setBold(true);
  lblTitle->setFont(title_font);

  // Topic links.
  auto* links = new QFrame(this);
  links->setObjectName(QStringLiteral("frmTopics"));
  links->setFrameShape(QFrame::StyledPanel);
  links->setBackgroundRole(QPalette::Base);
  links->setAutoFillBackground(true);
  auto* links_layout = new QVBoxLayout(links);
  links_layout->setSpacing(8);
  const auto& topics = HelpTopics();
  for (std::size_t i = 0; i < topics.size(); ++i) {
    auto* link = new QLabel(links);
    link->setObjectName(QStringLiteral("Label"));
    link->setProperty("Index", static_cast<int>(i));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    link->setCursor(Qt::PointingHandCursor);
    connect(link, &QLabel::linkActivated, this, [this, i] { Go(browser_.ShowTopic(static_cast<int>(i))); });
    links_layout->addWidget(link);
    Label[i] = link;
  }
  links_layout->addStretch(1);

  // Heading and text of the topic shown.
  lblHeading = new QLabel(this);
  lblHeading->setObjectName(QStringLiteral("lblHeading"));
  QFont heading_font(QStringLiteral("Arial"));
  heading_font.setPointSizeF(lblTitle->font().pointSizeF());
  heading_font.setBold(true);
  lblHeading->setFont(heading_font);

  Text1 = new QPlainTextEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setReadOnly(true);
  Text1->setFont(QFont(QStringLiteral("Tahoma")));
  Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Text1->document()->setDocumentMargin(8);
  Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  auto* topic_layout = new QVBoxLayout;
  topic_layout->addWidget(lblHeading);
  topic_layout->addWidget(Text1, 1);

  auto* middle = new QHBoxLayout;
  middle->addWidget(links);
  middle->addLayout(topic_layout, 1);

  // Buttons.
  btnFirst = MakeButton(this, "btnFirst", "<<", "First Topic");
  btnPrev = MakeButton(this, "btnPrev", "<", "Previous Topic");
  btnNext = MakeButton(this, "btnNext", ">", "Next Topic");
  btnLast = MakeButton(this, "btnLast", ">>", "Last Topic");
  btnClose = MakeButton(this, "btnClose", "Close", nullptr);
  connect(btnFirst, &QPushButton::clicked, this, [this] { Go(browser_.First()); });
  connect(btnPrev, &QPushButton::clicked, this, [this] { Go(browser_.Previous()); });
  connect(btnNext, &QPushButton::clicked, this, [this] { Go(browser_.Next()); });
  connect(btnLast, &QPushButton::clicked, this, [this] { Go(browser_.Last()); });
  connect(btnClose, &QPushButton::clicked, this, &QDialog::close);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {btnFirst, btnPrev, btnNext, btnLast}) {
    button->setMinimumWidth(48);
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  buttons->addWidget(btnClose);
  // Escape closes the window from any of the buttons and from the text.
  for (QWidget* widget : {static_cast<QWidget*>(btnFirst), static_cast<QWidget*>(btnPrev),
                          static_cast<QWidget*>(btnNext), static_cast<QWidget*>(btnLast),
                          static_cast<QWidget*>(btnClose), static_cast<QWidget*>(Text1)}) {
    widget->installEventFilter(this);
  }

  CopyRightLabel = new QLabel(QString::fromLatin1(kLegalNotice), this);
  CopyRightLabel->setObjectName(QStringLiteral("CopyRightLabel"));
  CopyRightLabel->setAlignment(Qt::AlignCenter);
  QFont small_font = CopyRightLabel->font();
  small_font.setPointSizeF(small_font.pointSizeF() * 0.9);
  CopyRightLabel->setFont(small_font);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblTitle);
  layout->addLayout(middle, 1);
  layout->addLayout(buttons);
  layout->addWidget(CopyRightLabel);

  DisplayHelp();
  btnClose->setFocus();
}

void FrmHelp::ShowModal(QWidget* owner) {
  FrmHelp help(owner);
  help.exec();
}

bool FrmHelp::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    close();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void FrmHelp::Go(bool moved) {
  if (moved) DisplayHelp();
}

void FrmHelp::DisplayHelp() {
  lblHeading->setText(QString::fromStdString(browser_.Heading()));
  Text1->setPlainText(FromCore(browser_.Text()));
  // Every topic stays a link; the one shown is bold.
  const auto& topics = HelpTopics();
  for (std::size_t i = 0; i < topics.size(); ++i) {
    QString caption = QString::fromStdString(topics[i].link_caption).toHtmlEscaped();
    if (static_cast<int>(i) == browser_.CurrentTopic()) caption = QStringLiteral("<b>%1</b>").arg(caption);
    Label[i]->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(i).arg(caption));
  }
}

}  // namespace quorvale::ui
