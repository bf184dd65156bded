#include "qt/QtUi.h"

#include "dialog/Texts.h"
#include "dialog/TfrmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QString>

#include "host_api/HostContext.h"
#include "platform/Text.h"

namespace korval::qt {
namespace {

QString ToQt(const std::string& text) {
  return QString::fromUtf8(ReplaceAll(text, "\r\n", "\n"));
}

}  // namespace

Qt::CursorShape QtCursorShape(Cursor cursor) {
  switch (cursor) {
    case Cursor::NotAllowed:
      return Qt::ForbiddenCursor;
    case Cursor::HourGlass:
      return Qt::WaitCursor;
    case Cursor::AppStart:
      return Qt::BusyCursor;
    case Cursor::SizeNWSE:
      return Qt::SizeFDiagCursor;
    case Cursor::SizeNESW:
      return Qt::SizeBDiagCursor;
    case Cursor::SizeWE:
      return Qt::SizeHorCursor;
    case Cursor::SizeNS:
      return Qt::SizeVerCursor;
    case Cursor::Default:
      break;
  }
  return Qt::ArrowCursor;
}

namespace {

// "Bitmaps (*.bmp)|*.bmp" is the platform's filter form; Qt wants "Bitmaps (*.bmp)".
QString QtFilter(const std::string& filter) {
  QStringList parts = QString::fromUtf8(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    out << (parts[i].contains('(') ? parts[i]
                                   : parts[i] + " (" + parts[i + 1].replace(';', ' ') + ")");
  }
  return out.join(";;");
}

}  // namespace

QtUi::QtUi(HostContext& host, std::ostream& log) : host_(host), log_(log) {}

bool QtUi::Interactive() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
  const QString platform = QGuiApplication::platformName();
  return platform != "offscreen" && platform != "minimal";
}

MessageAnswer QtUi::ShowMessage(const MessageBoxRequest& request) {
  if (!Interactive()) return AnswerUnattended(request, log_);
  const bool question = request.Buttons == MessageButtons::YesNo;
  QMessageBox box;
  box.setWindowTitle(request.Caption.empty() ? QStringLiteral("KORVAL") : ToQt(request.Caption));
  box.setText(ToQt(request.Text));
  switch (request.Icon) {
    case MessageIcon::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::None:
      break;
  }
  if (request.Modality == MessageModality::Topmost) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  if (question) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ano"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Ne"));
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MessageAnswer::Ok;
}

std::optional<std::string> QtUi::OpenPictureDialog(const std::string& title,
                                                   const std::string& filter) {
  if (!Interactive()) return std::nullopt;
  const QString file =
      QFileDialog::getOpenFileName(nullptr, ToQt(title), QString(), QtFilter(filter));
  if (file.isEmpty()) return std::nullopt;
  return file.toStdString();
}

bool QtUi::ShowSaveDialog(TfrmSaves& dialog) {
  if (!Interactive() || !SaveDialogRunner) return false;
  return SaveDialogRunner(dialog);
}

std::optional<Font> QtUi::ChooseFont(const Font& initial) {
  if (!Interactive()) return std::nullopt;
  QFont font(QString::fromStdString(initial.Name));
  font.setPixelSize(initial.Height < 0 ? -initial.Height : initial.Height);
  font.setBold(initial.Has(fsBold));
  font.setItalic(initial.Has(fsItalic));
  font.setUnderline(initial.Has(fsUnderline));
  font.setStrikeOut(initial.Has(fsStrikeOut));
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(
      &ok, font, nullptr,
      QString::fromStdString(ControlText(TfrmMain::kFormName, "fdFont", "Title", "Písmo")));
  if (!ok) return std::nullopt;
  Font result = initial;
  result.Name = chosen.family().toStdString();
  if (chosen.pixelSize() > 0) {
    result.SetHeight(-chosen.pixelSize());
  } else {
    result.SetSize(static_cast<int>(chosen.pointSizeF() + 0.5));
  }
  result.Style = static_cast<FontStyles>(
      (chosen.bold() ? fsBold : 0) | (chosen.italic() ? fsItalic : 0) |
      (chosen.underline() ? fsUnderline : 0) | (chosen.strikeOut() ? fsStrikeOut : 0));
  return result;
}

void QtUi::SetCursor(Cursor cursor) {
  if (!Interactive()) return;
  if (cursorOverridden_) QGuiApplication::restoreOverrideCursor();
  cursorOverridden_ = cursor != Cursor::Default;
  if (cursorOverridden_) QGuiApplication::setOverrideCursor(QCursor(QtCursorShape(cursor)));
}

void QtUi::ProcessPendingEvents() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

void QtUi::PostHostNotice(std::intptr_t /*hostWindow*/, std::uint32_t /*message*/) {
  // There is no window system to post to: the host's registered function
  // hears of the save, with its window.
  host_.NotifyFormatSaved();
}

}  // namespace korval::qt
