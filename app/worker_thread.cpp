// The worker thread's start and end.
#include "app/worker_thread.h"

namespace lumora {
namespace {

DWORD WINAPI WorkerThreadEntry(LPVOID param) {
  return static_cast<DWORD>(RunWorker(*static_cast<WorkerContext*>(param)));
}

}  // namespace

void StartWorkerThread(AppState& app) {
  if (!OpenWorkerContext(app.worker, &app.search, app.link.get())) return;
  app.workerThread = CreateThread(nullptr, 0, WorkerThreadEntry, &app.worker, 0, &app.workerThreadId);
  if (app.workerThread == nullptr) CloseWorkerContext(app.worker);
}

void StopWorkerThread(AppState& app) {
  app.search.stopFlag.store(1);
  if (app.workerThread == nullptr) return;
  RequestStop(app.worker);
  WaitForSingleObject(app.workerThread, INFINITE);
  CloseHandle(app.workerThread);
  app.workerThread = nullptr;
  CloseWorkerContext(app.worker);
}

}  // namespace lumora
