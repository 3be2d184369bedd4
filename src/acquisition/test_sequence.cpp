// The four steps of a live run (rate test, its summary, occlusion test, its summary) and their
// ends: beginnextproc, startottest and stopalltests, the stop of a run on a channel that is not
// connected, and the end of a run whose serial device has gone away.
#include "acquisition/test_sequence.h"

#include "acquisition/data_log_files.h"
#include "acquisition/frmOTGraph.h"
#include "acquisition/frmRTGraph.h"
#include "acquisition/frmSummary.h"
#include "common/global_comm.h"
#include "core/protocol.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/ui.h"

namespace qtx {

namespace {

// The summary window for the capture of one summary, and the live window made ready for it.
void begin_summary(App& app, LiveTestWindow& window, const char* caption) {
  app.forms().get<frmSummary>().show_capture(caption);
  app.session().new_summary = true;
  app.ui().setMousePointer(&window, MousePointer::Hourglass);
}

// Every timer of the live windows that are open stops.
void stop_live_windows(Forms& forms) {
  if (frmRTGraph* rt = forms.loaded<frmRTGraph>()) rt->stop_timers();
  if (frmOTGraph* ot = forms.loaded<frmOTGraph>()) ot->stop_timers();
}

void show_main(App& app) {
  if (FormBase* main = app.forms().mainWindow()) main->Show();
}

}  // namespace

namespace TestSequence {

bool running(const Session& s) {
  const TestPhaseFlags& p = s.test_phase_flags;
  return p.rt_phase || p.rt_summary_phase || p.ot_phase || p.ot_summary_phase;
}

void beginnextproc(App& app) {
  Session& s = app.session();
  TestPhaseFlags& p = s.test_phase_flags;
  DownloadFlags& f = s.download_flags;
  Forms& forms = app.forms();

  if (p.rt_phase) {
    p.rt_phase = false;
    frmRTGraph& rt = forms.get<frmRTGraph>();
    if (!s.rt_data_file.empty() && f.log_rt_data) rt.close_data_file();
    f.show_rt_request = false;
    f.single_rate_selected = false;
    rt.GetDataTimer->stop();
    rt.DurationTimer->stop();
    if (!GlobalComm::send_stop_command(app)) {
      end_run_for_lost_device(app);
      return;
    }
    if (s.run_choices.summary_to_printer)
      GlobalComm::send_command(app, protocol::print_summary_command(s.channel_code));
    if (f.save_rt_summary) {
      p.rt_summary_phase = true;
      if (!s.rt_sum_file.empty()) {
        begin_summary(app, rt, "Single-Rate");
        rt.disable_run_buttons();
        rt.create_RTsum_file();
        rt.GetSumTimer->start();
      }
    } else if (f.occlusion_selected) {
      p.ot_phase = true;
      startottest(app);
    } else {
      forms.unload<frmRTGraph>();
    }
  } else if (p.rt_summary_phase) {
    p.rt_summary_phase = false;
    forms.unload<frmSummary>();
    if (frmRTGraph* rt = forms.loaded<frmRTGraph>()) {
      rt->GetSumTimer->stop();
      app.ui().setMousePointer(rt, MousePointer::Default);
      forms.unload(*rt);
    }
    if (f.occlusion_selected) {
      p.ot_phase = true;
      startottest(app);
    }
  } else if (p.ot_phase) {
    p.ot_phase = false;
    frmOTGraph& ot = forms.get<frmOTGraph>();
    if (s.run_choices.save_to_file && !s.ot_data_file.empty()) ot.close_data_file();
    if (!GlobalComm::send_stop_command(app)) {
      end_run_for_lost_device(app);
      return;
    }
    if (s.run_choices.summary_to_printer)
      GlobalComm::send_command(app, protocol::print_summary_command(s.channel_code));
    ot.GetDataTimer->stop();
    ot.DurationTimer->stop();
    f.occlusion_selected = false;
    if (f.save_ot_summary) {
      p.ot_summary_phase = true;
      if (!s.ot_sum_file.empty()) {
        begin_summary(app, ot, "Occlusion");
        ot.disable_run_buttons();
        ot.create_OTsum_file();
        ot.GetSumTimer->start();
      }
    } else {
      f.show_ot_request = false;
      forms.unload(ot);
    }
  } else if (p.ot_summary_phase) {
    p.ot_summary_phase = false;
    forms.unload<frmSummary>();
    if (frmOTGraph* ot = forms.loaded<frmOTGraph>()) {
      ot->GetSumTimer->stop();
      app.ui().setMousePointer(ot, MousePointer::Default);
    }
    f.show_ot_request = false;
    forms.unload<frmOTGraph>();
  }

  if (frmRTGraph* rt = forms.loaded<frmRTGraph>()) app.ui().setMousePointer(rt, MousePointer::Default);
}

void startottest(App& app) {
  Session& s = app.session();
  if (s.run_choices.save_to_file) DataLogFiles::write_OTfile_header(app);
  app.forms().unload<frmRTGraph>();
  GlobalComm::reset_comm_buffers(app);
  frmOTGraph& ot = app.forms().get<frmOTGraph>();
  ot.GetDataTimer->start();
  s.download_flags.show_ot_request = true;
  ot.Show();
  // Always the program's own start, whatever "Start test automatically" says.
  if (GlobalComm::send_command(app, protocol::start_test_command(s.channel_code, protocol::kOcclusionTest))) return;
  // Not sent (told once, by the send): the occlusion test never began, so its log holds a
  // header only and goes; the run ends as one whose device went away, the finished rate test's
  // files staying.
  if (s.download_flags.log_ot_data) DataLogFiles::discard_data_file(app, data_log::LogKind::Occlusion);
  s.test_phase_flags.ot_phase = false;
  end_run_for_lost_device(app);
}

void stopalltests(App& app) {
  DownloadFlags& f = app.session().download_flags;
  stop_live_windows(app.forms());
  f.show_rt_request = false;
  f.show_ot_request = false;
  GlobalComm::send_stop_command(app);
  discard_run(app);
  show_main(app);
}

void discard_run(App& app) {
  Session& s = app.session();
  TestPhaseFlags& p = s.test_phase_flags;
  DownloadFlags& f = s.download_flags;
  if (f.log_rt_data) DataLogFiles::discard_data_file(app, data_log::LogKind::Rate);
  // Only a summary this run has written goes; a file of that name from before stays.
  if (p.ot_phase && f.save_rt_summary && s.rt_sum_written && files::exists(s.rt_sum_file)) files::remove(s.rt_sum_file);
  // The occlusion log exists once its test has begun; before that the name is only chosen.
  if (p.ot_phase && f.log_ot_data) DataLogFiles::discard_data_file(app, data_log::LogKind::Occlusion);
  p = TestPhaseFlags{};
  f.single_rate_selected = false;
  f.occlusion_selected = false;
  f.log_rt_data = false;
  f.log_ot_data = false;
  f.save_rt_summary = false;
  f.save_ot_summary = false;
  s.rt_sum_written = false;
  s.ot_sum_written = false;
}

bool stop_run_not_connected(App& app) {
  Forms& forms = app.forms();
  if (!running(app.session()) && !forms.isLoaded("frmRTGraph") && !forms.isLoaded("frmOTGraph")) return false;
  stopalltests(app);
  // The window of the step that was running, whichever it was: the flags of the tests chosen
  // say nothing about which step has been reached.
  forms.unload<frmRTGraph>();
  forms.unload<frmOTGraph>();
  return true;
}

void end_run_for_lost_device(App& app) {
  Session& s = app.session();
  TestPhaseFlags& p = s.test_phase_flags;
  DownloadFlags& f = s.download_flags;
  Forms& forms = app.forms();
  frmRTGraph* rt = forms.loaded<frmRTGraph>();
  frmOTGraph* ot = forms.loaded<frmOTGraph>();
  stop_live_windows(forms);
  // The log of the test that was running is closed as Stop closes it; the logs of finished tests
  // are closed already.
  if (p.rt_phase && f.log_rt_data && !s.rt_data_file.empty())
    DataLogFiles::close_data_file(app, data_log::LogKind::Rate);
  if (p.ot_phase && !s.ot_data_file.empty()) DataLogFiles::close_data_file(app, data_log::LogKind::Occlusion);
  p = TestPhaseFlags{};
  const bool download_ok = f.download_ok;
  f = DownloadFlags{};
  f.download_ok = download_ok;
  s.new_summary = true;
  forms.unload<frmSummary>();
  if (rt) forms.unload(*rt);
  if (ot) forms.unload(*ot);
  show_main(app);
}

}  // namespace TestSequence

}  // namespace qtx
