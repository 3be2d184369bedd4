#include "help/frmQTXHelp.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/global_main.h"
#include "core/help_text.h"
#include "help/help_common.h"
#include "platform/app.h"
#include "platform/controls.h"

namespace qtx {

namespace {

struct Topic {
  const char* name;
  const char* caption;
};

constexpr Topic kTopics[8] = {
    {"lblOverview", "Overview"},
    {"lblFileDownload", "File/Download"},
    {"lblFileEdit", "File/Edit Summary or Data Log"},
    {"lblFileGraph", "File/Graph"},
    {"lblFileExit", "File/Exit Qtx"},
    {"lblOptionsChange", "Options/Change Serial Port"},
    {"lblOptionsTest", "Options/Test Serial Port"},
    {"lblOptionsSysAd", "Options/System Administrator"},
};

}  // namespace

frmQTXHelp::frmQTXHelp(App& app) : Form<QWidget>(app) {
  setWindowTitle(QStringLiteral("MAIN SCREEN HELP"));

  Label2 = help_windows::make_heading(this, "Label2");
  Line1 = help_windows::make_rule(this, "Line1");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label2);
  layout->addWidget(Line1);
  for (int i = 0; i < 8; ++i) {
    topics_[i] = help_windows::make_topic_link(this, kTopics[i].name, kTopics[i].caption);
    layout->addWidget(topics_[i], 0, Qt::AlignLeft);
    connect(topics_[i], &QToolButton::clicked, this, [this, i] { topic_Click(i); });
  }

  cmdExitHelp = make<QPushButton>(this, "cmdExitHelp", "E&xit Help");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdExitHelp);
  layout->addStretch();
  layout->addLayout(buttons);
  resize(sizeHint());

  connect(cmdExitHelp, &QPushButton::clicked, this, [this] { cmdExitHelp_Click(); });
}

void frmQTXHelp::Form_Load() { GlobalMain::center_form(*this); }

void frmQTXHelp::topic_Click(int item) { help_windows::show_help_page(app_, help::kMainTopic, item); }

void frmQTXHelp::cmdExitHelp_Click() {
  help_windows::return_to_caller(app_, caller_);
  Unload();
}

}  // namespace qtx
