#include "gui/global_editor.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/prompts.h"
#include "gui/entry_box.h"
#include "port/text_codec.h"

namespace tarvek {

using entry::FunctionMode;
using entry::GlobalBox;

GlobalEditor::GlobalEditor(const Programming& record, bool reducedFeatures, Prompts& prompts, HelpDesk* help,
                           QWidget* parent)
    : RecordEditor(QStringLiteral("frmGlobal"), QStringLiteral("Edit Global Settings"), 4710, 7695, record, parent),
      m_prompts(prompts),
      m_reducedFeatures(reducedFeatures) {
  QGroupBox* function = addFrame(client(), "fraFunction", QStringLiteral("Function"), 960, 0, 2660, 1215);
  m_alarmDialer = addOption(function, "optAlarmDialer", QStringLiteral("Alarm Dialer"), 300);
  m_noBeeps = addOption(function, "OptPager", QStringLiteral("Alarm Dialer (No Beeps)"), 570);
  m_aislecall = addOption(function, "optAislecall", QStringLiteral("Aislecall"), 840);

  QGroupBox* operating =
      addFrame(client(), "fraOperating", QStringLiteral("Operating Parameters"), 960, 1320, 2660, 2895);
  addLabel(operating, "lblSecurityCode", QStringLiteral("Security Code"), 240, 375, 1335);
  m_security = addBox(operating, "txtSecurity", GlobalBox::SecurityCode, 1680, 360, 855);
  m_accessCaption = addLabel(operating, "lblAccessCode", QStringLiteral("Access Code"), 240, 735, 1335);
  m_access = addBox(operating, "txtAccess", GlobalBox::AccessCode, 1680, 720, 855);
  addLabel(operating, "lblRingDelay", QStringLiteral("Ring Delay"), 240, 1095, 1335);
  m_ringDelay = addBox(operating, "txtRingDelay", GlobalBox::RingDelay, 1680, 1080, 255);
  m_ringbackCaption = addLabel(operating, "lblRingbackLimit", QStringLiteral("Ringback Limit"), 240, 1455, 1335);
  m_ringbackLimit = addBox(operating, "txtRingbackLimit", GlobalBox::RingbackLimit, 1680, 1440, 375);
  m_dialingSpeedCaption = addLabel(operating, "lblDialingSpeed", QStringLiteral("Dialing Speed"), 240, 1860, 1500);
  m_normal = addOption(operating, "optNormal", QStringLiteral("Normal (120ms)"), 2160, 480);
  m_fast = addOption(operating, "optFast", QStringLiteral("Fast (50ms)"), 2460, 480);

  m_hookswitchFrame = addFrame(client(), "fraHookswitch", QStringLiteral("Hookswitch Flash"), 960, 4320, 2660, 855);
  m_hookswitchEnabled = addOption(m_hookswitchFrame, "optHSEnabled", QStringLiteral("Enabled"), 300);
  m_hookswitchDisabled = addOption(m_hookswitchFrame, "optHSDisabled", QStringLiteral("Disabled"), 555);

  m_callProgressFrame =
      addFrame(client(), "fraCallProgress", QStringLiteral("Call Progress Detection"), 960, 5280, 2660, 1575);
  m_callProgressEnabled = addOption(m_callProgressFrame, "optEnabled", QStringLiteral("Enabled"), 300);
  m_callProgressDisabled = addOption(m_callProgressFrame, "optDisabled", QStringLiteral("Disabled"), 555);
  m_forcedCaption = addLabel(m_callProgressFrame, "lblForced", QStringLiteral("Forced Play Timer"), 240, 840, 1500);
  m_forced = addBox(m_callProgressFrame, "txtForced", GlobalBox::ForcedPlayTimer, 240, 1110, 375);
  m_secondsCaption = addLabel(m_callProgressFrame, "lblSeconds", QStringLiteral("seconds"), 720, 1125, 800);

  QPushButton* back = addButton(client(), "cmdBack", QStringLiteral("Back"), 1680, 7080);
  addHelpMenu(help, "Global");

  QWidget* tabOrder[] = {m_security,
                         m_access,
                         m_ringDelay,
                         m_ringbackLimit,
                         m_callProgressEnabled,
                         m_callProgressDisabled,
                         m_normal,
                         m_fast,
                         m_forced,
                         m_alarmDialer,
                         m_aislecall,
                         back,
                         m_hookswitchEnabled,
                         m_hookswitchDisabled,
                         m_noBeeps};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

  // What a screen reader says: the box's label; the frame before an option's caption
  // where the captions repeat.
  const std::pair<QWidget*, const char*> spoken[] = {
      {m_security, "Security Code"},
      {m_access, "Access Code"},
      {m_ringDelay, "Ring Delay"},
      {m_ringbackLimit, "Ringback Limit"},
      {m_forced, "Forced Play Timer"},
      {m_hookswitchEnabled, "Hookswitch Flash Enabled"},
      {m_hookswitchDisabled, "Hookswitch Flash Disabled"},
      {m_callProgressEnabled, "Call Progress Detection Enabled"},
      {m_callProgressDisabled, "Call Progress Detection Disabled"},
  };
  for (const auto& [control, name] : spoken) control->setAccessibleName(QString::fromLatin1(name));

  const std::pair<QRadioButton*, FunctionMode> functions[] = {
      {m_alarmDialer, FunctionMode::AlarmDialer},
      {m_noBeeps, FunctionMode::AlarmDialerNoBeeps},
      {m_aislecall, FunctionMode::Aislecall},
  };
  for (const auto& [option, mode] : functions)
    connect(option, &QRadioButton::clicked, this, [this, mode] { display(entry::withFunction(entries(), mode)); });
  connect(m_callProgressEnabled, &QRadioButton::clicked, this,
          [this] { display(entry::withCallProgress(entries(), true)); });
  connect(m_callProgressDisabled, &QRadioButton::clicked, this,
          [this] { display(entry::withCallProgress(entries(), false)); });
  connectBack(back);

  display(entry::globalEntries(m_record.global, reducedFeatures));
  m_security->setFocus();
}

EntryBox* GlobalEditor::addBox(QWidget* frame, const char* name, GlobalBox which, int left, int top, int width) {
  auto* box = new EntryBox(frame);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(px(left), px(top), px(width), px(285));
  box->setKeyGate([this, box, which](int code) { return box->apply(entry::globalKey(which, code), m_prompts); });
  box->setPasteGate([this, box, which](const QString& pasted) {
    return box->apply(entry::globalPaste(which, toWindows1252(box->textWith(pasted))), m_prompts);
  });
  connect(box, &QLineEdit::textChanged, this, [this, box, which] { lengthLimit(box, which); });
  return box;
}

QRadioButton* GlobalEditor::addOption(QWidget* frame, const char* name, const QString& caption, int top, int left) {
  auto* option = new QRadioButton(caption, frame);
  option->setObjectName(QString::fromLatin1(name));
  option->setGeometry(px(left), px(top), px(2300 - left + 240), px(255));
  return option;
}

EntryBox* GlobalEditor::box(GlobalBox which) const {
  switch (which) {
    case GlobalBox::SecurityCode:
      return m_security;
    case GlobalBox::AccessCode:
      return m_access;
    case GlobalBox::RingDelay:
      return m_ringDelay;
    case GlobalBox::RingbackLimit:
      return m_ringbackLimit;
    case GlobalBox::ForcedPlayTimer:
      break;
  }
  return m_forced;
}

entry::GlobalEntries GlobalEditor::entries() const {
  entry::GlobalEntries entries;
  if (m_alarmDialer->isChecked())
    entries.function = FunctionMode::AlarmDialer;
  else if (m_aislecall->isChecked())
    entries.function = FunctionMode::Aislecall;
  else
    entries.function = FunctionMode::AlarmDialerNoBeeps;
  entries.securityCode = toWindows1252(m_security->text());
  entries.accessCode = toWindows1252(m_access->text());
  entries.ringDelay = toWindows1252(m_ringDelay->text());
  entries.ringbackLimit = toWindows1252(m_ringbackLimit->text());
  entries.fastDialing = !m_normal->isChecked();
  entries.hookswitchEnabled = m_hookswitchEnabled->isChecked();
  entries.callProgressEnabled = m_callProgressEnabled->isChecked();
  entries.forcedPlayTimer = toWindows1252(m_forced->text());
  return entries;
}

void GlobalEditor::display(const entry::GlobalEntries& entries) {
  // Options of a group are exclusive: checking one clears the others.
  switch (entries.function) {
    case FunctionMode::AlarmDialer:
      m_alarmDialer->setChecked(true);
      break;
    case FunctionMode::AlarmDialerNoBeeps:
      m_noBeeps->setChecked(true);
      break;
    case FunctionMode::Aislecall:
      m_aislecall->setChecked(true);
      break;
  }
  m_security->setTextQuietly(fromWindows1252(entries.securityCode));
  m_access->setTextQuietly(fromWindows1252(entries.accessCode));
  m_ringDelay->setTextQuietly(fromWindows1252(entries.ringDelay));
  m_ringbackLimit->setTextQuietly(fromWindows1252(entries.ringbackLimit));
  (entries.fastDialing ? m_fast : m_normal)->setChecked(true);
  (entries.hookswitchEnabled ? m_hookswitchEnabled : m_hookswitchDisabled)->setChecked(true);
  (entries.callProgressEnabled ? m_callProgressEnabled : m_callProgressDisabled)->setChecked(true);
  m_forced->setTextQuietly(fromWindows1252(entries.forcedPlayTimer));

  const entry::GlobalReach reach = entry::globalReach(entries, m_reducedFeatures);
  for (QWidget* widget : std::initializer_list<QWidget*>{m_access, m_accessCaption, m_ringbackLimit, m_ringbackCaption,
                                                         m_dialingSpeedCaption, m_normal, m_fast})
    widget->setEnabled(reach.accessAndRingback);
  for (QWidget* widget : std::initializer_list<QWidget*>{m_hookswitchFrame, m_hookswitchEnabled, m_hookswitchDisabled})
    widget->setEnabled(reach.hookswitch);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{m_callProgressFrame, m_callProgressEnabled, m_callProgressDisabled})
    widget->setEnabled(reach.callProgress);
  for (QWidget* widget : std::initializer_list<QWidget*>{m_forcedCaption, m_forced, m_secondsCaption})
    widget->setEnabled(reach.forcedPlayTimer);
}

void GlobalEditor::lengthLimit(EntryBox* box, GlobalBox which) {
  if (!entry::tooLong(which, toWindows1252(box->text()))) return;
  m_prompts.inform(entry::lengthMessage(which));
  box->clear();
  box->setFocus();
}

void GlobalEditor::back() {
  entry::GlobalEntries checked = entries();
  if (const auto failure = entry::checkGlobalEntries(checked)) {
    m_prompts.inform(failure->message);
    display(checked);
    box(failure->box)->setFocus();
    return;
  }
  m_record.global = entry::globalSettings(checked, m_reducedFeatures);
  emit backAccepted(m_record, entry::greysHookswitch(checked, m_reducedFeatures));
}

}  // namespace tarvek
