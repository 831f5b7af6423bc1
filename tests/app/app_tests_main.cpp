// Windows are tested offscreen unless the caller chose a platform.
#include <QApplication>

int RunSetupWindowTests(int argc, char** argv);
int RunSoundCuesTests(int argc, char** argv);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int failed = RunSetupWindowTests(argc, argv);
  failed += RunSoundCuesTests(argc, argv);
  return failed;
}
