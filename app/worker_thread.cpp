#include "app/worker_thread.h"

namespace lumora {
namespace {

DWORD WINAPI WorkerThreadEntry(LPVOID param) {
  return static_cast<DWORD>(RunWorker(*static_cast<WorkerContext*>(param)));
}

}  // namespace

void StartWorkerThread(AppState& app) {
  app.workerThread = CreateThread(nullptr, 0, WorkerThreadEntry, &app.worker, 0, &app.workerThreadId);
}

void StopWorkerThread(AppState& app) {
  app.worker.inbox.Stop();
  if (app.workerThread != nullptr) {
    WaitForSingleObject(app.workerThread, INFINITE);
    CloseHandle(app.workerThread);
    app.workerThread = nullptr;
  }
  CloseWorkerContext(app.worker);
}

}  // namespace lumora
