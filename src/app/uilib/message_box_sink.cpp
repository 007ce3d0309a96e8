#include "message_box_sink.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringDecoder>

#include "library/string_table.h"
#include "library/text_encoding.h"

namespace {

bool IsUtf8(std::string_view bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8);
  QString ignored =
      decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return !decoder.hasError();
}

QString FromUtf8(std::string_view bytes) {
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The string-table part of a message is UTF-8; the extra text may hold bytes of a data file
// (a key's value, a template name), which are GBK. Each part is converted on its own.
QString TextOf(const CMessage& message) {
  std::string_view text = message.text;
  QString s;
  std::size_t at = message.extra.empty() ? std::string_view::npos : text.rfind(message.extra);
  if (at != std::string_view::npos && !IsUtf8(message.extra)) {
    s = FromUtf8(text.substr(0, at)) + QString::fromStdString(frt::GbkToUtf8(message.extra)) +
        FromUtf8(text.substr(at + message.extra.size()));
  } else if (IsUtf8(text)) {
    s = FromUtf8(text);
  } else {
    s = QString::fromStdString(frt::GbkToUtf8(text));
  }
  // The texts end with a line break for the Windows box layout; here it would only add space.
  while (s.endsWith(QLatin1Char('\n'))) s.chop(1);
  return s;
}

}  // namespace

QString CQtMessageSink::CaptionOf(const CMessage& message) {
  if (!message.caption.empty()) return QString::fromUtf8(message.caption.c_str());
  switch (message.kind) {
    case CMessage::Kind::kError:
      return QString::fromUtf8(frt::LoadText(frt::kIdCaptionError));
    case CMessage::Kind::kWarning:
      return QString::fromUtf8(frt::LoadText(frt::kIdCaptionWarning));
    default:
      return QString::fromUtf8(frt::LoadText(57344));
  }
}

QWidget* CQtMessageSink::Parent() const {
  QWidget* active = QApplication::activeWindow();
  return active ? active : fallbackParent_;
}

void CQtMessageSink::Show(const CMessage& message) {
  QMessageBox::Icon icon = QMessageBox::Information;
  if (message.kind == CMessage::Kind::kError) icon = QMessageBox::Critical;
  if (message.kind == CMessage::Kind::kWarning) icon = QMessageBox::Warning;
  QMessageBox box(icon, CaptionOf(message), TextOf(message), QMessageBox::Ok, Parent());
  if (!message.detail.empty()) box.setDetailedText(FromUtf8(message.detail));
  box.exec();
}

bool CQtMessageSink::Ask(const CMessage& question) {
  QMessageBox box(QMessageBox::Question, CaptionOf(question), TextOf(question),
                  QMessageBox::Yes | QMessageBox::No, Parent());
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}
