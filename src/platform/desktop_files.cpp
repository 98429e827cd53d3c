#include "platform/desktop_files.h"

#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

namespace numvex {
namespace {

constexpr char kEntryMarker[] = "X-Numvex-Owner=numvex";
constexpr char kPackageMarker[] = "<!-- written by numvex -->";
constexpr char kMimeType[] = "application/x-numvex-tape";

std::string Failure(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

std::optional<std::string> ReadFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string text;
  char buffer[4096];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof(buffer))) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0) text.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  if (n < 0) return std::nullopt;
  return text;
}

// Whether `text` holds `marker` as a whole line, that is, this program wrote it.
bool Marked(const std::string& text, const char* marker) {
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (text.compare(start, end - start, marker) == 0) return true;
    start = end + 1;
  }
  return false;
}

// Creates the folder and its missing parents; new ones are private to the user, as the XDG
// base directory rules ask.
bool MakeFolders(const std::string& folder) {
  for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    const std::string prefix = folder.substr(0, end);
    if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (end == std::string::npos) break;
  }
  struct stat st;
  return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Writes a temporary file beside `path` and renames it over `path`, so that a reader sees
// the old file or the new one, never a half-written one. Empty on success, else what went wrong.
std::string WriteFileAtomically(const std::string& path, const std::string& text) {
  const std::string folder = path.substr(0, path.rfind('/'));
  if (!MakeFolders(folder)) return Failure("cannot create", folder);
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return Failure("cannot write", path);
  bool written = fchmod(fd, 0644) == 0;
  for (size_t done = 0; written && done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno != EINTR) written = false;
    if (n > 0) done += static_cast<size_t>(n);
  }
  written = written && fsync(fd) == 0;
  written = close(fd) == 0 && written;
  if (!written || rename(temp.c_str(), path.c_str()) != 0) {
    const std::string failure = Failure("cannot write", path);
    unlink(temp.c_str());
    return failure;
  }
  return std::string();
}

// Writes `text` unless the file already holds it, and tells whether it did. Another
// program's file is not replaced.
std::string Update(const std::string& path, const std::string& text, const char* marker,
                   bool* written = nullptr) {
  const std::optional<std::string> old = ReadFile(path);
  if (old == text) return std::string();
  if (!old && errno != ENOENT) return Failure("cannot read", path);
  if (old && !Marked(*old, marker)) return "cannot write " + path + ": another program's file";
  if (written != nullptr) *written = true;
  return WriteFileAtomically(path, text);
}

bool RemoveOwn(const std::string& path, const char* marker) {
  const std::optional<std::string> text = ReadFile(path);
  return text && Marked(*text, marker) && unlink(path.c_str()) == 0;
}

// Starts `program` on `folder` when it is on PATH, and lets it run on its own.
void StartIfPresent(const char* program, const std::string& folder) {
  const QString found = QStandardPaths::findExecutable(QString::fromLatin1(program));
  if (found.isEmpty()) return;
  QProcess process;
  process.setProgram(found);
  process.setArguments({QFile::decodeName(folder.c_str())});
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.startDetached();
}

// The program path as one argument of an Exec key: quoted when it holds a reserved
// character, "%" doubled so that it is no field code, then escaped as any string value.
std::string ExecArgument(const std::string& path) {
  const bool quote = path.empty() || path.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != path.npos;
  std::string arg = quote ? "\"" : "";
  constexpr std::pair<char, const char*> kEscapes[] = {
      {'%', "%%"}, {'\\', "\\\\"}, {'\n', "\\n"}, {'\t', "\\t"}, {'\r', "\\r"}};
  for (char c : path) {
    const bool escaped_in_quotes = std::string_view("\"`$\\").find(c) != std::string_view::npos;
    if (quote && escaped_in_quotes) arg += "\\\\";  // a "\" before it, escaped as a string
    const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                      [c](const auto& e) { return e.first == c; });
    if (escape != std::end(kEscapes)) {
      arg += escape->second;
    } else {
      arg += c;
    }
  }
  return quote ? arg + "\"" : arg;
}

std::string Entry(const std::string& exec, bool autostart) {
  std::string text =
      "[Desktop Entry]\nType=Application\nVersion=1.4\nName=Numvex\n"
      "GenericName=Tape Calculator\nComment=Adding-machine tape calculator and text editor\n";
  text += "Exec=" + exec + "\nIcon=numvex\nTerminal=false\n";
  if (autostart) {
    text += "X-GNOME-Autostart-enabled=true\n";
  } else {
    text += "Categories=Utility;Calculator;\nMimeType=" + std::string(kMimeType) + ";\n";
  }
  return text + kEntryMarker + "\n";
}

std::string XmlEscaped(const char* text) {
  return QString::fromUtf8(text).toHtmlEscaped().toStdString();
}

std::string MimePackage() {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + std::string(kPackageMarker) +
      "\n<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  xml += "  <mime-type type=\"" + XmlEscaped(kMimeType) + "\">\n";
  xml += "    <comment>" + XmlEscaped("Numvex tape") + "</comment>\n";
  xml += "    <sub-class-of type=\"text/plain\"/>\n";
  xml += "    <glob pattern=\"" + XmlEscaped("*.nvx") + "\"/>\n";
  return xml + "  </mime-type>\n</mime-info>\n";
}

std::string HomeFolder() {
  const char* home = getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  const passwd* user = getpwuid(geteuid());
  return user != nullptr ? user->pw_dir : "";
}

std::string XdgFolder(const char* variable, const char* under_home) {
  const char* value = getenv(variable);
  if (value != nullptr && value[0] == '/') return value;
  return HomeFolder() + under_home;
}

}  // namespace

DesktopFiles DesktopFiles::FromEnvironment() {
  return DesktopFiles(XdgFolder("XDG_DATA_HOME", "/.local/share"),
                      XdgFolder("XDG_CONFIG_HOME", "/.config"));
}

DesktopFiles::DesktopFiles(std::string data_home, std::string config_home)
    : data_home_(std::move(data_home)), config_home_(std::move(config_home)) {}

std::string DesktopFiles::ApplicationEntryPath() const {
  return data_home_ + "/applications/numvex.desktop";
}

std::string DesktopFiles::MimePackagePath() const {
  return data_home_ + "/mime/packages/numvex.xml";
}

std::string DesktopFiles::AutostartEntryPath() const {
  return config_home_ + "/autostart/numvex.desktop";
}

std::string DesktopFiles::RegisterFileType(const std::string& program_path) const {
  bool written = false;
  std::string failure = Update(MimePackagePath(), MimePackage(), kPackageMarker, &written);
  if (failure.empty()) {
    failure = Update(ApplicationEntryPath(), Entry(ExecArgument(program_path) + " %f", false),
                     kEntryMarker, &written);
  }
  if (written) {
    StartIfPresent("update-mime-database", data_home_ + "/mime");
    StartIfPresent("update-desktop-database", data_home_ + "/applications");
  }
  return failure;
}

void DesktopFiles::UnregisterFileType() const {
  const bool removed_package = RemoveOwn(MimePackagePath(), kPackageMarker);
  if (RemoveOwn(ApplicationEntryPath(), kEntryMarker) || removed_package) {
    StartIfPresent("update-mime-database", data_home_ + "/mime");
    StartIfPresent("update-desktop-database", data_home_ + "/applications");
  }
}

void DesktopFiles::SetRunAtStartup(bool on, const std::string& program_path) const {
  if (on) {
    Update(AutostartEntryPath(), Entry(ExecArgument(program_path) + " /TB", true), kEntryMarker);
  } else {
    RemoveOwn(AutostartEntryPath(), kEntryMarker);
  }
}

}  // namespace numvex
