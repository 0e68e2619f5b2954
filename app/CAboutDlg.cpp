#include "app/CAboutDlg.h"

#include "views/QtText.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace vpr {

namespace {

constexpr int textCaption = 10001009;
constexpr int textProduct = 10001001;
constexpr int textFirstModel = 10001002;
constexpr int textSecondModel = 10001003;
constexpr int textVersion = 10001004;
constexpr int textRelease = 10001005;
constexpr int textClosing[] = {10001006, 10001007, 10001008};
constexpr int textOk = 10002001;

QLabel* lineOf(int id, QWidget* parent) {
  auto* label = new QLabel(qtText(id), parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(qtText(textCaption));
  if (!QApplication::windowIcon().isNull()) setWindowIcon(QApplication::windowIcon());

  auto* icon = new QLabel(this);
  const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
  const QIcon appIcon = QApplication::windowIcon().isNull()
                            ? style()->standardIcon(QStyle::SP_MessageBoxInformation)
                            : QApplication::windowIcon();
  icon->setPixmap(appIcon.pixmap(iconSize, iconSize));
  icon->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  // Lines in groups, as on the box: product; models; version and release; closing lines.
  auto* lines = new QVBoxLayout;
  lines->setSpacing(2);
  auto* product = lineOf(textProduct, this);
  QFont bold = product->font();
  bold.setBold(true);
  product->setFont(bold);
  product->setObjectName("productLine");
  lines->addWidget(product);
  lines->addSpacing(4);
  lines->addWidget(lineOf(textFirstModel, this));
  lines->addWidget(lineOf(textSecondModel, this));
  lines->addSpacing(8);
  lines->addWidget(lineOf(textVersion, this));
  lines->addWidget(lineOf(textRelease, this));
  lines->addSpacing(10);
  for (int id : textClosing)
    lines->addWidget(lineOf(id, this));

  auto* top = new QGridLayout;
  top->setHorizontalSpacing(24);
  top->addWidget(icon, 0, 0, Qt::AlignTop);
  top->addLayout(lines, 0, 1);
  top->setColumnStretch(1, 1);

  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(qtText(textOk));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 16, 12);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addWidget(rule);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CAboutDlg::run(QWidget* parent) {
  CAboutDlg dialog(parent);
  dialog.exec();
}

} // namespace vpr
