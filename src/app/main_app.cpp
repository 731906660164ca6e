#include "app/main_app.h"

#include <QMessageBox>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <new>

#include "app/app_options.h"
#include "app/files_folder.h"
#include "app/machine.h"
#include "app/window_run.h"
#include "platform/linux/single_instance.h"
#include "platform/text_encoding.h"
#include "ui/about_dlg.h"

namespace vantrel::app {
namespace {

const QString kOutOfMemoryText = QStringLiteral("メモリ不足エラー。");
const QString kNoCp932Text = QStringLiteral(
    "文字コード変換 (CP932) を利用できません。Vantrel を終了します。\n"
    "Conversion between CP932 (Shift-JIS) and UTF-8 is not available on this system "
    "(glibc's CP932 converter module is missing).");
const QString kNoWorkingDirText =
    QStringLiteral("作業フォルダを取得できません。Vantrel を終了します。\n%1");
const QString kNoConfigFolderText =
    QStringLiteral("設定フォルダを作成できません。Vantrel を終了します。\n%1");

constexpr int kUsageError = 2;

std::vector<std::string> Arguments(const QStringList& all) {
  std::vector<std::string> arguments;
  for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(all[i].toStdString());
  return arguments;
}

QString SimulatedNote(const AppOptions& options) {
  if (!options.simulate) return {};
  return QStringLiteral("シミュレーション %1")
      .arg(QString::fromStdString(ui::AboutVersionText(options.simulateVersion)));
}

// Where "Vantrel.cfg", "Vantrel.ini" and "Vantrel.tbl" live.
std::filesystem::path FilesFolder(const AppOptions& options) {
  if (!options.configHome) return std::filesystem::current_path();
  std::filesystem::path folder =
      ConfigHomeFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  MakeOwnerOnlyFolder(folder);
  return folder;
}

}  // namespace

CMainApp::CMainApp(int& argc, char** argv) : QApplication(argc, argv) {}

bool CMainApp::event(QEvent* event) {
  if (event->type() != QEvent::Quit) return QApplication::event(event);
  exitOnRequest_.Exit(0);
  return true;
}

int CMainApp::InitInstance() {
  ParsedOptions parsed = ParseAppOptions(Arguments(arguments()));
  if (!parsed.error.empty()) {
    std::cerr << "vantrel: " << parsed.error << "\n" << kUsage;
    return kUsageError;
  }
  if (!platform::Cp932ConversionAvailable()) {
    std::cerr << "vantrel: " << kNoCp932Text.toStdString() << "\n";
    QMessageBox::critical(nullptr, QStringLiteral("Vantrel"), kNoCp932Text);
    return 1;
  }
  std::string error;
  std::vector<sim::ScriptAction> script;
  if (!parsed.options.simulateScript.empty()) {
    script = sim::ReadScriptFile(parsed.options.simulateScript, error);
    if (!error.empty()) {
      std::cerr << error;
      return kUsageError;
    }
  }
  std::filesystem::path workingDir;
  try {
    workingDir = FilesFolder(parsed.options);
  } catch (const std::bad_alloc&) {
    QMessageBox::critical(nullptr, QStringLiteral("Vantrel"), kOutOfMemoryText);
    return 1;
  } catch (const std::filesystem::filesystem_error& failure) {
    const QString& text = parsed.options.configHome ? kNoConfigFolderText : kNoWorkingDirText;
    QMessageBox::critical(nullptr, QStringLiteral("Vantrel"),
                          text.arg(QString::fromLocal8Bit(failure.what())));
    return 1;
  }
  WindowRun run{
      workingDir, platform::SingleInstance::DefaultDirectory(), SimulatedNote(parsed.options),
      [&]() -> std::unique_ptr<Machine> {
        auto machine = MakeMachine(parsed.options, script, error);
        if (!machine) std::cerr << "vantrel: " << error << "\n";
        return machine;
      },
      parsed.options.netKeyer ? std::optional(parsed.options.netKeyerPort) : std::nullopt};
  return RunOperatingWindow(run);
}

}  // namespace vantrel::app
