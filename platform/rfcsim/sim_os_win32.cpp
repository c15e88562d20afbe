// Windows behind sim_os.h: Winsock, threads of the Windows API, slim reader/writer locks
// and a console control handler. The accepting thread looks for a stop request every
// 200 ms, so nothing has to close its socket under it.
#include "sim_os.h"

#include "sim_os_addresses.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

namespace tw::rfcsim::os {

namespace {

/// Starts Winsock once per process; false when it cannot be started.
bool winsock_ready() {
  static const bool ready = [] {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return ready;
}

/// What a started thread runs.
struct ThreadStart {
  void (*body)(void*);
  void* context;
};

DWORD WINAPI run_thread(void* start) {
  const ThreadStart what = *static_cast<ThreadStart*>(start);
  delete static_cast<ThreadStart*>(start);
  what.body(what.context);
  return 0;
}

void (*stop_requested)() = nullptr;

BOOL WINAPI on_console_control(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
    return FALSE;
  if (stop_requested != nullptr) stop_requested();
  return TRUE;
}

/// The text of a Winsock error code.
std::string winsock_error_text(int code) {
  char* text = nullptr;
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length != 0 && text != nullptr ? std::string(text, length)
                                                      : "error " + std::to_string(code);
  if (text != nullptr) ::LocalFree(text);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == '.'))
    result.pop_back();
  return result;
}

}  // namespace

Lock::Lock() : native_(new SRWLOCK(SRWLOCK_INIT)) {}
Lock::~Lock() { delete static_cast<SRWLOCK*>(native_); }
void Lock::lock() { ::AcquireSRWLockExclusive(static_cast<SRWLOCK*>(native_)); }
void Lock::unlock() { ::ReleaseSRWLockExclusive(static_cast<SRWLOCK*>(native_)); }

bool start_thread(void (*body)(void*), void* context, ThreadId& thread) {
  auto* start = new ThreadStart{body, context};
  const HANDLE handle = ::CreateThread(nullptr, 0, run_thread, start, 0, nullptr);
  if (handle == nullptr) {
    delete start;
    return false;
  }
  thread = reinterpret_cast<ThreadId>(handle);
  return true;
}

void join_thread(ThreadId thread) {
  const HANDLE handle = reinterpret_cast<HANDLE>(thread);
  ::WaitForSingleObject(handle, INFINITE);
  ::CloseHandle(handle);
}

void shutdown_socket(SocketId socket) { ::shutdown(static_cast<SOCKET>(socket), SD_BOTH); }

Listener::Listener() = default;

Listener::~Listener() {
  if (listen_ != -1) ::closesocket(static_cast<SOCKET>(listen_));
}

bool Listener::open(const std::string& host, std::uint16_t port, std::string& error) {
  if (!winsock_ready()) {
    error = "Winsock cannot be started";
    return false;
  }
  addrinfo* found = listen_addresses(host, port, error);
  if (found == nullptr) return false;
  error = "no address for '" + host + "'";
  for (addrinfo* address = found; address != nullptr; address = address->ai_next) {
    const SOCKET socket = ::socket(address->ai_family, address->ai_socktype, address->ai_protocol);
    if (socket == INVALID_SOCKET) continue;
    // Without it Windows lets a second server bind the same port.
    const BOOL on = TRUE;
    ::setsockopt(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on),
                 sizeof on);
    if (::bind(socket, address->ai_addr, static_cast<int>(address->ai_addrlen)) == 0 &&
        ::listen(socket, 64) == 0) {
      listen_ = static_cast<std::intptr_t>(socket);
      break;
    }
    error = winsock_error_text(::WSAGetLastError());
    ::closesocket(socket);
  }
  ::freeaddrinfo(found);
  if (listen_ == -1) return false;
  port_ = bound_port(static_cast<SocketId>(listen_));
  return true;
}

SocketId Listener::accept_next() {
  const SOCKET listening = static_cast<SOCKET>(listen_);
  while (!stopped_ && listen_ != -1) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(listening, &ready);
    timeval wait{0, 200000};
    const int rc = ::select(0, &ready, nullptr, nullptr, &wait);
    if (rc < 0) return kNoSocket;
    if (rc == 0) continue;
    const SOCKET client = ::accept(listening, nullptr, nullptr);
    if (client != INVALID_SOCKET) return static_cast<SocketId>(client);
  }
  return kNoSocket;
}

void Listener::stop() { stopped_ = true; }

void on_stop_request(void (*stop)()) {
  stop_requested = stop;
  ::SetConsoleCtrlHandler(on_console_control, TRUE);
}

}  // namespace tw::rfcsim::os
