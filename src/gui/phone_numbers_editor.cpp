#include "gui/phone_numbers_editor.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "core/prompts.h"
#include "core/session.h"
#include "gui/entry_box.h"
#include "port/text_codec.h"

namespace tarvek {

PhoneNumbersEditor::PhoneNumbersEditor(const Programming& record, Session& session, Prompts& prompts, HelpDesk* help,
                                       QWidget* parent)
    : SteppingEditor(QStringLiteral("frmNumbers"), QStringLiteral("Edit Phone Numbers"), 5820, 4545, record, session,
                     parent),
      m_prompts(prompts) {
  m_record.phoneNumbers = entry::completePhoneNumbers(m_record.phoneNumbers);
  QPushButton* clear = addButton(client(), "cmdClearAll", QStringLiteral("Clear Numbers"), 480, 200);
  QFont numberFont = font();
  numberFont.setPointSize(12);
  numberFont.setBold(true);
  addLabel(client(), "lblInputNbr", QStringLiteral("Input Number"), 2160, 225, 1680, 300)->setFont(numberFont);
  m_number = addLabel(client(), "lblNumber", QString(), 3870, 225, 300, 300);
  m_number->setFont(numberFont);

  for (int row = 0; row < kNumbersPerInput; ++row) {
    const int top = 720 + 360 * row;
    const QByteArray suffix = QByteArray::number(row + 1);
    auto* pager = new QCheckBox(QStringLiteral("Pager"), client());
    pager->setObjectName(QStringLiteral("chkCheck") + QString::fromLatin1(suffix));
    pager->setGeometry(px(240), px(top), px(900), px(285));
    m_pagers[static_cast<std::size_t>(row)] = pager;
    const QString caption = QStringLiteral("Phone Number %1").arg(row + 1);
    addLabel(client(), ("lblPhoneNbr" + suffix).constData(), caption, 1200, top + 15, 1300);
    m_boxes[static_cast<std::size_t>(row)] = addNumberBox(row, top);
    // Eight "Pager" boxes: each is spoken with its row's number.
    pager->setAccessibleName(QStringLiteral("Pager, ") + caption);
    m_boxes[static_cast<std::size_t>(row)]->setAccessibleName(caption);
  }

  QPushButton* previous = addButton(client(), "cmdPrevious", QStringLiteral("Previous Input"), 1200, 3840);
  QPushButton* back = addButton(client(), "cmdBack", QStringLiteral("Back to Main"), 2760, 3840);
  QPushButton* next = addButton(client(), "cmdNext", QStringLiteral("Next Input"), 4320, 3840);
  addHelpMenu(help, "Numbers");

  connect(clear, &QPushButton::clicked, this, &PhoneNumbersEditor::clearNumbers);
  connectSteps(previous, back, next);
  showFirstInput();
  m_boxes.front()->setFocus();
}

EntryBox* PhoneNumbersEditor::addNumberBox(int row, int top) {
  auto* box = new EntryBox(client());
  box->setObjectName(QStringLiteral("txtPhoneNbr%1").arg(row + 1));
  box->setGeometry(px(2520), px(top), px(2985), px(285));
  box->setKeyGate(
      [this, box](int code) { return box->apply(entry::phoneKey(toWindows1252(box->text()), code), m_prompts); });
  box->setPasteGate([this, box](const QString& pasted) {
    return box->apply(entry::phonePaste(toWindows1252(box->text()), toWindows1252(pasted)), m_prompts);
  });
  connect(box, &QLineEdit::textChanged, this, [this, box] { lengthLimit(box); });
  return box;
}

entry::PhoneRows PhoneNumbersEditor::rows() const {
  entry::PhoneRows rows;
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = {toWindows1252(m_boxes[i]->text()), m_pagers[i]->isChecked()};
  return rows;
}

void PhoneNumbersEditor::showRows(const entry::PhoneRows& rows) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    m_boxes[i]->setText(fromWindows1252(rows[i].text));
    m_pagers[i]->setChecked(rows[i].pager);
    // A unit without pager marks takes none.
    m_pagers[i]->setEnabled(!m_session.reducedFeatures);
  }
}

void PhoneNumbersEditor::lengthLimit(EntryBox* box) {
  const std::optional<std::string> cut = entry::cutToLongest(toWindows1252(box->text()));
  if (!cut) return;
  m_prompts.inform(entry::kPhoneLengthMessage);
  box->setText(fromWindows1252(*cut));
  box->setFocus();
}

void PhoneNumbersEditor::clearNumbers() {
  const Answer answer =
      m_prompts.show(Message{entry::kClearNumbersQuestion, {}, Buttons::OkCancel, Icon::Question, {}});
  if (answer == Answer::Cancel) return;
  showRows(entry::clearedPhoneRows());
}

void PhoneNumbersEditor::showInput() {
  m_number->setText(QString::number(input()));
  showRows(entry::phoneRows(m_record.phoneNumbers, input(), m_session.reducedFeatures));
}

bool PhoneNumbersEditor::takeInput() {
  m_record.phoneNumbers = entry::rebuildPhoneNumbers(m_record.phoneNumbers, input(), rows());
  return true;
}

}  // namespace tarvek
