#include "help/frmQTXGHelp.h"

#include <QGridLayout>
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

// Indexed by topic; topic 0 (the general page) has no link.
constexpr Topic kTopics[20] = {
    {nullptr, nullptr},
    {"lblFileOpen", "File/Open"},
    {"lblTimeWindow", "Time Window"},
    {"lblFlowScale", "Flow Scale"},
    {"lblTimeScale", "Time Scale"},
    {"lblDefault", "Default"},
    {"lblSetRate", "Base Rate"},
    {"lblFlowOffOn", "Flow Off/On"},
    {"lblVolumeOffOnLabel2", "Volume Off/On"},
    {"lblExit", "Exit"},
    {"lblFileSave", "File/Save Graph As Image"},
    {"lblFileTrumpet", "File/Trumpet Graph"},
    {"lblSetRateTrump", "Set Rate"},
    {"lblNewData", "New Data"},
    {"lblScale", "Scale"},
    {"lblPrintTrump", "Print"},
    {"lblSaveTrump", "Save"},
    {"lblExitTrump", "Exit"},
    {"lblFilePrint", "File/Print Screen"},
    {"lblFileExit", "File/Exit Graph"},
};

constexpr int kFirstColumnRows = 10;

}  // namespace

frmQTXGHelp::frmQTXGHelp(App& app) : Form<QWidget>(app) {
  setWindowTitle(QStringLiteral("GRAPHICS SCREEN HELP"));

  Label1 = help_windows::make_heading(this, "Label1");
  Line1 = help_windows::make_rule(this, "Line1");

  // Two columns in topic order, so Tab visits the links in that order.
  auto* grid = new QGridLayout;
  for (int i = 1; i < 20; ++i) {
    topics_[i] = help_windows::make_topic_link(this, kTopics[i].name, kTopics[i].caption);
    // The links of the trumpet window's commands share captions with the log graph's.
    if (std::string_view(kTopics[i].name).ends_with("Trump"))
      topics_[i]->setAccessibleDescription(QStringLiteral("Trumpet graph window"));
    const int row = (i - 1) % kFirstColumnRows;
    const int column = (i - 1) / kFirstColumnRows;
    grid->addWidget(topics_[i], row, column, Qt::AlignLeft);
    connect(topics_[i], &QToolButton::clicked, this, [this, i] { topic_Click(i); });
  }

  cmdExit = make<QPushButton>(this, "cmdExit", "Exit Help");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdExit);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Line1);
  layout->addLayout(grid);
  layout->addStretch();
  layout->addLayout(buttons);
  resize(sizeHint());

  connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

void frmQTXGHelp::Form_Load() { GlobalMain::center_form(*this); }

void frmQTXGHelp::topic_Click(int item) { help_windows::show_help_page(app_, help::kGraphTopic, item); }

void frmQTXGHelp::cmdExit_Click() {
  help_windows::return_to_caller(app_, caller_);
  Unload();
}

}  // namespace qtx
