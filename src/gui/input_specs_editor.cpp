#include "gui/input_specs_editor.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/prompts.h"
#include "gui/entry_box.h"
#include "port/text_codec.h"

namespace tarvek {

using entry::InputBox;

namespace {

QFont numberFont(const QFont& base) {
  QFont font = base;
  font.setPointSize(12);
  font.setBold(true);
  return font;
}

}  // namespace

InputSpecsEditor::InputSpecsEditor(const Programming& record, Session& session, Prompts& prompts, HelpDesk* help,
                                   QWidget* parent)
    : SteppingEditor(QStringLiteral("frmInputSpecs"), QStringLiteral("Edit Input Specs"), 5895, 5280, record, session,
                     parent),
      m_prompts(prompts) {
  m_record.inputSpecs = entry::completeInputSpecs(m_record.inputSpecs);
  QLabel* caption = addLabel(client(), "lblInputNumber", QStringLiteral("Input Number"), 1920, 240, 1680, 285);
  caption->setFont(numberFont(font()));
  m_number = addLabel(client(), "lblNumber", QString(), 3600, 240, 195, 285);
  m_number->setFont(numberFont(font()));

  QGroupBox* normalState = addFrame(client(), "fraNormalState", QStringLiteral("Normal State"), 480, 840, 2355, 1185);
  m_normallyOpen = addOption(normalState, "optNO", QStringLiteral("Normally Open"), 300);
  m_normallyClosed = addOption(normalState, "optNC", QStringLiteral("Normally Closed"), 570);
  m_disabled = addOption(normalState, "optDisabled", QStringLiteral("Disabled"), 840);
  QGroupBox* duration = addFrame(client(), "fraDuration", QStringLiteral("Duration"), 480, 2040, 2355, 915);
  m_momentary = addOption(duration, "optMomentary", QStringLiteral("Momentary"), 300);
  m_continuous = addOption(duration, "optContinuous", QStringLiteral("Continuous"), 570);

  addTimerFrame("fraQualifier", QStringLiteral("Qualifier Timer"), 840, 0,
                {"txtQHours", "txtQMinutes", "txtQSeconds", "lblQualHours", "lblQMinutes", "lblQSeconds"});
  addTimerFrame("fraResume", QStringLiteral("Resume Timer"), 2040, 3,
                {"txtRHours", "txtRMinutes", "txtRSeconds", "lblResHours", "Label1", "lblResSeconds"});
  addLabel(client(), "lblRepeatCtr", QStringLiteral("Message Repeat Counter"), 1800, 3255, 1935);
  m_boxes[static_cast<std::size_t>(InputBox::RepeatCounter)] = addBox(client(), "txtRepeatCtr", 3840, 3240);
  m_boxes[static_cast<std::size_t>(InputBox::RepeatCounter)]->setAccessibleName(
      QStringLiteral("Message Repeat Counter"));
  addLabel(client(), "lblLapCtr", QStringLiteral("Lap Counter"), 1800, 3615, 1935);
  m_boxes[static_cast<std::size_t>(InputBox::LapCounter)] = addBox(client(), "txtLapCtr", 3840, 3600);
  m_boxes[static_cast<std::size_t>(InputBox::LapCounter)]->setAccessibleName(QStringLiteral("Lap Counter"));

  QPushButton* previous = addButton(client(), "cmdPrevious", QStringLiteral("Previous Input"), 600, 4320, 1200);
  QPushButton* back = addButton(client(), "cmdBack", QStringLiteral("Back"), 2280, 4320, 1200);
  QPushButton* next = addButton(client(), "cmdNext", QStringLiteral("Next Input"), 3960, 4320, 1200);
  addHelpMenu(help, "InputSpecs");

  std::vector<QWidget*> tabOrder(m_boxes.begin(), m_boxes.end());
  tabOrder.insert(tabOrder.end(),
                  {m_normallyClosed, m_disabled, m_normallyOpen, previous, next, back, m_momentary, m_continuous});
  for (std::size_t i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

  connectSteps(previous, back, next);
  showFirstInput();
  m_boxes.front()->setFocus();
}

EntryBox* InputSpecsEditor::addBox(QWidget* parent, const char* name, int left, int top) {
  auto* box = new EntryBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(px(left), px(top), px(285), px(285));
  box->setKeyGate(
      [this, box](int code) { return box->apply(entry::inputSpecKey(toWindows1252(box->text()), code), m_prompts); });
  box->setPasteGate([this, box](const QString& pasted) {
    return box->apply(entry::inputSpecPaste(toWindows1252(box->textWith(pasted))), m_prompts);
  });
  return box;
}

QRadioButton* InputSpecsEditor::addOption(QWidget* frame, const char* name, const QString& caption, int top) {
  auto* option = new QRadioButton(caption, frame);
  option->setObjectName(QString::fromLatin1(name));
  option->setGeometry(px(240), px(top), px(1900), px(255));
  return option;
}

void InputSpecsEditor::addTimerFrame(const char* frameName, const QString& caption, int top, std::size_t firstBox,
                                     const std::array<const char*, 6>& names) {
  QGroupBox* frame = addFrame(client(), frameName, caption, 3120, top, 2220, 1005);
  const int lefts[] = {270, 900, 1530};
  const QString captions[] = {QStringLiteral("Hours"), QStringLiteral("Minutes"), QStringLiteral("Seconds")};
  for (std::size_t i = 0; i < 3; ++i) {
    m_boxes[firstBox + i] = addBox(frame, names[i], lefts[i], 300);
    // "Hours" and the others stand in both timer frames: the frame tells them apart.
    m_boxes[firstBox + i]->setAccessibleName(caption + QLatin1Char(' ') + captions[i]);
    // Each caption is centred under its box.
    QLabel* label = addLabel(frame, names[i + 3], captions[i], lefts[i] + 142 - 315, 630, 630);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  }
}

entry::InputSpecEntries InputSpecsEditor::entries() const {
  entry::InputSpecEntries entries;
  if (m_normallyOpen->isChecked())
    entries.normalState = entry::NormalState::Open;
  else if (m_normallyClosed->isChecked())
    entries.normalState = entry::NormalState::Closed;
  else
    entries.normalState = entry::NormalState::Disabled;
  entries.momentary = m_momentary->isChecked();
  for (std::size_t i = 0; i < m_boxes.size(); ++i) entries.boxes[i] = toWindows1252(m_boxes[i]->text());
  return entries;
}

void InputSpecsEditor::showInput() {
  m_number->setText(QString::number(input()));
  const entry::InputSpecEntries entries = entry::inputSpecEntries(m_record.inputSpecs, input());
  switch (entries.normalState) {
    case entry::NormalState::Open:
      m_normallyOpen->setChecked(true);
      break;
    case entry::NormalState::Closed:
      m_normallyClosed->setChecked(true);
      break;
    case entry::NormalState::Disabled:
      m_disabled->setChecked(true);
      break;
  }
  (entries.momentary ? m_momentary : m_continuous)->setChecked(true);
  for (std::size_t i = 0; i < m_boxes.size(); ++i) m_boxes[i]->setText(fromWindows1252(entries.boxes[i]));
}

bool InputSpecsEditor::takeInput() {
  entry::InputSpecEntries checked = entries();
  const auto failure = entry::checkInputSpecEntries(checked);
  if (failure) m_prompts.inform(failure->message);
  for (std::size_t i = 0; i < m_boxes.size(); ++i) m_boxes[i]->setTextQuietly(fromWindows1252(checked.boxes[i]));
  if (failure) {
    m_boxes[static_cast<std::size_t>(failure->focus)]->setFocus();
    return false;
  }
  m_record.inputSpecs = entry::rebuildInputSpecs(m_record.inputSpecs, input(), checked);
  return true;
}

}  // namespace tarvek
