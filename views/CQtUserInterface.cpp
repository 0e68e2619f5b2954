#include "views/CQtUserInterface.h"

#include "views/QtText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <utility>
#include <vector>

namespace vpr {

namespace {

constexpr int textCaptionError = 10025001;
constexpr int textCaptionConfirmation = 10025002;
constexpr int textCaptionWarning = 10025003;
constexpr int textButtonOk = 10002001;
constexpr int textButtonCancel = 10002002;
constexpr int textButtonYes = 10002008;
constexpr int textButtonNo = 10002009;
constexpr int textButtonRetry = 10002038;
constexpr int textFileTypeName = 10007001;
const char* const productCaption = "VPR-40T";

QString captionOf(const MessageRequest& request) {
  if (!request.caption.empty()) return toQString(request.caption);
  switch (request.kind) {
  case MessageKind::Error:
    return qtText(textCaptionError);
  case MessageKind::Confirmation:
    return qtText(textCaptionConfirmation);
  case MessageKind::Warning:
    return qtText(textCaptionWarning);
  case MessageKind::Product:
    break;
  }
  return QString::fromLatin1(productCaption);
}

QMessageBox::Icon iconOf(const MessageRequest& request) {
  MessageIcon icon = request.icon;
  if (icon == MessageIcon::None) {
    switch (request.kind) {
    case MessageKind::Error:
      icon = MessageIcon::Stop;
      break;
    case MessageKind::Confirmation:
    case MessageKind::Warning:
      icon = MessageIcon::Exclamation;
      break;
    case MessageKind::Product:
      break;
    }
  }
  switch (icon) {
  case MessageIcon::Stop:
    return QMessageBox::Critical;
  case MessageIcon::Exclamation:
    return QMessageBox::Warning;
  case MessageIcon::Question:
    return QMessageBox::Question;
  case MessageIcon::Information:
    return QMessageBox::Information;
  case MessageIcon::None:
    break;
  }
  return QMessageBox::NoIcon;
}

std::vector<MessageAnswer> answersOf(MessageButtons buttons) {
  switch (buttons) {
  case MessageButtons::Ok:
    return {MessageAnswer::Ok};
  case MessageButtons::OkCancel:
    return {MessageAnswer::Ok, MessageAnswer::Cancel};
  case MessageButtons::YesNo:
    return {MessageAnswer::Yes, MessageAnswer::No};
  case MessageButtons::YesNoCancel:
    return {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel};
  case MessageButtons::RetryCancel:
    return {MessageAnswer::Retry, MessageAnswer::Cancel};
  }
  return {MessageAnswer::Ok};
}

QMessageBox::StandardButton standardButtonOf(MessageAnswer answer) {
  switch (answer) {
  case MessageAnswer::Ok:
    return QMessageBox::Ok;
  case MessageAnswer::Cancel:
    return QMessageBox::Cancel;
  case MessageAnswer::Yes:
    return QMessageBox::Yes;
  case MessageAnswer::No:
    return QMessageBox::No;
  case MessageAnswer::Retry:
    return QMessageBox::Retry;
  }
  return QMessageBox::Ok;
}

// The buttons carry the language's captions; a language file without one keeps Qt's own,
// which follows the desktop's language.
void applyButtonText(QAbstractButton* button, MessageAnswer answer) {
  int id = textButtonOk;
  switch (answer) {
  case MessageAnswer::Ok:
    break;
  case MessageAnswer::Cancel:
    id = textButtonCancel;
    break;
  case MessageAnswer::Yes:
    id = textButtonYes;
    break;
  case MessageAnswer::No:
    id = textButtonNo;
    break;
  case MessageAnswer::Retry:
    id = textButtonRetry;
    break;
  }
  const QString text = qtText(id);
  if (!text.isEmpty()) button->setText(text);
}

// The button that Enter presses when the caller did not name one.
MessageAnswer defaultAnswerOf(const MessageRequest& request, const std::vector<MessageAnswer>& answers) {
  if (request.defaultAnswer) {
    for (MessageAnswer answer : answers)
      if (answer == *request.defaultAnswer) return answer;
  }
  if (request.kind == MessageKind::Confirmation) {
    for (MessageAnswer answer : answers)
      if (answer == MessageAnswer::Cancel) return answer;
  }
  return answers.front();
}

// The button that Escape and the close box press: Cancel, else No, else the only button.
MessageAnswer escapeAnswerOf(const std::vector<MessageAnswer>& answers) {
  for (MessageAnswer wanted : {MessageAnswer::Cancel, MessageAnswer::No})
    for (MessageAnswer answer : answers)
      if (answer == wanted) return answer;
  return answers.back();
}

QString filterOf(const FileRequest& request) {
  const QString name = request.filterName.empty() ? qtText(textFileTypeName) : toQString(request.filterName);
  const QString extension = request.extension.empty() ? QStringLiteral("dat") : toQString(request.extension);
  return QStringLiteral("%1 (*.%2)").arg(name, extension);
}

} // namespace

CQtUserInterface::CQtUserInterface(QObject* parent) : QObject(parent) {}

QWidget* CQtUserInterface::effectiveParent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (owner_) return owner_;
  return QApplication::activeWindow();
}

MessageAnswer CQtUserInterface::showMessage(const MessageRequest& request) {
  const std::vector<MessageAnswer> answers = answersOf(request.buttons);
  const MessageAnswer escapeAnswer = escapeAnswerOf(answers);
  if (unattended_) {
    std::fprintf(stderr, "%s\n", request.text.c_str());
    return escapeAnswer;
  }
  QMessageBox box(effectiveParent());
  box.setWindowModality(Qt::ApplicationModal);
  box.setWindowTitle(captionOf(request));
  // Messages carry file names and other user data: never let Qt read them as markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(toQString(request.text));
  box.setIcon(iconOf(request));

  const MessageAnswer defaultAnswer = defaultAnswerOf(request, answers);
  std::vector<std::pair<QAbstractButton*, MessageAnswer>> buttons;
  for (MessageAnswer answer : answers) {
    QPushButton* button = box.addButton(standardButtonOf(answer));
    applyButtonText(button, answer);
    buttons.emplace_back(button, answer);
    if (answer == defaultAnswer) box.setDefaultButton(button);
    if (answer == escapeAnswer) box.setEscapeButton(button);
  }

  box.exec();

  for (const auto& [button, answer] : buttons)
    if (box.clickedButton() == button) return answer;
  return escapeAnswer;
}

std::optional<std::string> CQtUserInterface::runFileDialog(const FileRequest& request, bool forSaving) {
  QFileDialog dialog(effectiveParent());
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setNameFilter(filterOf(request));
  dialog.setDirectory(request.folder.empty() ? QDir::homePath() : toQString(request.folder));
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (forSaving) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.extension.empty() ? QStringLiteral("dat") : toQString(request.extension));
    // Qt's dialog asks before replacing an existing file unless told otherwise.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!request.fileName.empty()) dialog.selectFile(toQString(request.fileName));
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(files.front()).toStdString();
}

std::optional<std::string> CQtUserInterface::chooseFileToOpen(const FileRequest& request) {
  return runFileDialog(request, false);
}

std::optional<std::string> CQtUserInterface::chooseFileToSave(const FileRequest& request) {
  return runFileDialog(request, true);
}

void CQtUserInterface::pumpOneMessage() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void CQtUserInterface::reportProgress(int, int, const std::string&) {}

} // namespace vpr
