// The installation script "SETUP.INF": reading it into the installation configuration
// and the file table, the file-line parser, the string-table loader, and the prior
// settings recorded in the destination's copy of the script.
//
// Every value lands in a fixed field. Profile values are cut to their field by the
// platform's profile functions; a file line whose source name, target name or
// directory does not fit its field becomes an empty entry (nothing is copied for it),
// never one with a cut name. A description is cut.
#include "setup.h"

#include "res/resource_ids.h"
#include "text.h"

InstallConfig config;
HINSTANCE programInstance;

namespace {

constexpr int TEXT_RING = 4;
constexpr char SCRIPT_NAME[] = "\\SETUP.INF";
constexpr int MAX_FILES = 0x7FFF;  // the 16-bit file total

char textRing[TEXT_RING][TEXT_CHARS];
int textRingIndex = TEXT_RING - 1;
char settingBuffer[TEXT_CHARS];

// The string-table text as a section or key name ("" when missing).
const char *Name(UINT id)
{
    const char *text = LoadText(id);
    return text ? text : "";
}

void ReadString(const char *script, UINT section, UINT key, const char *fallback, char *target, int size)
{
    // The names go into copies: the ring holds only four texts.
    char sectionName[TEXT_CHARS], keyName[TEXT_CHARS];
    CopyText(sectionName, Name(section));
    CopyText(keyName, Name(key));
    GetPrivateProfileStringA(sectionName, keyName, fallback, target, static_cast<DWORD>(size), script);
}

template <int size> void ReadString(const char *script, UINT section, UINT key, const char *fallback, char (&target)[size])
{
    ReadString(script, section, key, fallback, target, size);
}

int ReadInt(const char *script, UINT section, UINT key, int fallback)
{
    char sectionName[TEXT_CHARS], keyName[TEXT_CHARS];
    CopyText(sectionName, Name(section));
    CopyText(keyName, Name(key));
    return static_cast<int>(GetPrivateProfileIntA(sectionName, keyName, fallback, script));
}

// sourceDir: the program's directory, without the backslash before the file name.
// A directory that does not fit stays empty: the script is then not found.
void FindSourceDir()
{
    char module[MAX_PATH + 1] = "";
    const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    module[length < MAX_PATH ? length : MAX_PATH] = '\0';
    int cut = 0;
    for (int i = 1; module[i] != '\0'; ++i)  // a backslash in the first position never counts
        if (module[i] == '\\')
            cut = i;
    module[cut] = '\0';
    if (!CopyText(config.sourceDir, module))
        config.sourceDir[0] = '\0';
}

// The keyword index of a file line's fourth field, or -1.
int KeywordIndex(const char *keyword)
{
    for (int k = 0; k < DIRECTORY_KEYWORDS; ++k)
        if (SameTextIgnoringCase(keyword, Name(IDS_KEYWORD_ROOT_DIR + k)))
            return k;
    return -1;
}

// Fills an entry from a file line; leaves it all empty when a name or a directory
// does not fit its field.
void ParseFileLine(const char *line, FileEntry *entry)
{
    char field[TEXT_CHARS];
    FileEntry parsed = {};
    bool fits = true;
    line = NextField(line, field);
    fits &= CopyText(parsed.sourceName, field);
    line = NextField(line, field);
    fits &= CopyText(parsed.targetName, field);
    line = NextField(line, field);
    CopyText(parsed.description, field);
    NextField(line, field);

    const int k = KeywordIndex(field);
    if (k >= 0) {
        fits &= CopyText(parsed.sourceSubdir, config.directoryNames[k]);
        switch (k) {
        case DIR_WINDOWS:
            fits &= CopyText(parsed.targetDir, config.windowsDir);
            parsed.targetIsAbsolute = 1;
            break;
        case DIR_WINDOWS_SYSTEM:
            fits &= JoinText(parsed.targetDir, config.windowsDir, "\\SYSTEM");
            parsed.targetIsAbsolute = 1;
            break;
        case DIR_WINDOWS_INF:
            fits &= JoinText(parsed.targetDir, config.windowsDir, "\\INF");
            parsed.targetIsAbsolute = 1;
            break;
        default:
            fits &= CopyText(parsed.targetDir, config.directoryNames[k]);
            break;
        }
    }
    if (fits)
        *entry = parsed;
}

// The file counts of the counted disks. A negative count counts as 0; false when the
// total does not fit the 16-bit file total.
bool ReadFileCounts(const char *script)
{
    int total = 0;
    for (int d = 0; d < config.diskCount; ++d) {
        int count = ReadInt(script, IDS_SECTION_FILE_COUNTS, IDS_DISK1 + d, 0);
        if (count < 0)
            count = 0;
        if (count > MAX_FILES - total)
            return false;
        config.fileCounts[d] = static_cast<SHORT>(count);
        total += count;
    }
    config.totalFileCount = static_cast<SHORT>(total);
    return true;
}

void ReadFileLists(const char *script)
{
    config.fileLists[0] = config.fileTable;
    for (int d = 0; d < config.diskCount; ++d)
        config.fileLists[d + 1] = config.fileLists[d] + config.fileCounts[d];
    for (int d = 0; d < config.diskCount; ++d) {
        char section[TEXT_CHARS];
        CopyText(section, Name(IDS_DISK1 + d));
        for (int j = 0; j < config.fileCounts[d]; ++j) {
            char key[16], line[TEXT_CHARS];
            wsprintfA(key, "%d", j + 1);
            GetPrivateProfileStringA(section, key, "", line, TEXT_CHARS, script);
            if (line[0] != '\0')
                ParseFileLine(line, &config.fileLists[d][j]);
        }
    }
}

struct StartupField {
    UINT key;
    char *target;
};

}  // namespace

const char *LoadText(UINT id)
{
    textRingIndex = (textRingIndex + 1) % TEXT_RING;
    char *buffer = textRing[textRingIndex];
    buffer[0] = '\0';
    if (LoadStringA(programInstance, id, buffer, TEXT_CHARS) <= 0)
        return nullptr;
    return buffer;
}

bool ReadSetupScript()
{
    FindSourceDir();
    char script[PATH_CHARS + sizeof SCRIPT_NAME];
    JoinText(script, config.sourceDir, SCRIPT_NAME);

    ReadString(script, IDS_SECTION_MAIN, IDS_KEY_DEFAULT_PATH, "C:\\VELMO", config.destDir);
    config.destDir[0] = config.windowsDir[0];  // the default destination lies on the Windows drive
    ReadString(script, IDS_SECTION_MAIN, IDS_KEY_PRODUCT_NAME, "Velmo", config.productName);
    JoinText(config.setupCaption, config.productName, " ", Name(IDS_CAPTION_TAIL));
    config.minimumSpaceKB = static_cast<SHORT>(ReadInt(script, IDS_SECTION_MAIN, IDS_KEY_MINIMUM_SPACE, 1024));

    config.diskCount = 0;
    for (int d = 0; d < MAX_DISKS; ++d) {
        char label[FIELD_CHARS];
        ReadString(script, IDS_SECTION_DISK_LABEL, IDS_DISK1 + d, "", label);
        if (label[0] != '\0')
            ++config.diskCount;
    }
    for (int k = 0; k < DIRECTORY_KEYWORDS; ++k)
        ReadString(script, IDS_SECTION_DIRECTORY_NAME, IDS_KEYWORD_ROOT_DIR + k, "", config.directoryNames[k]);

    if (!ReadFileCounts(script) || !AllocFileTable(config.totalFileCount))
        return false;
    ReadFileLists(script);

    // "OEM" is the one key name that is no text of the string table.
    config.oemMode = static_cast<LONG>(GetPrivateProfileIntA(Name(IDS_SECTION_MAIN), "OEM", 0, script));

    const StartupField startup[] = {
        {IDS_KEY_TITLE, config.productTitle},
        {IDS_KEY_MFG, config.manufacturer},
        {IDS_KEY_MOUSE_DRIVER, config.mouseDriver},
        {IDS_KEY_MOUSE_INF, config.mouseInf},
        {IDS_KEY_DRIVER_DATE, config.driverDate},
        {IDS_KEY_PS2_INF_SECTION, config.ps2InfSection},
        {IDS_KEY_SERIAL_INF_SECTION, config.serialInfSection},
        {IDS_KEY_PS2_NAME, config.ps2Name},
        {IDS_KEY_SERIAL_NAME, config.serialName},
    };
    for (const StartupField &field : startup)
        ReadString(script, IDS_SECTION_STARTUP, field.key, "", field.target,
                   field.key == IDS_KEY_TITLE ? PATH_CHARS : FIELD_CHARS);
    return true;
}

const char *NextField(const char *text, char *field)
{
    while (*text == ' ')
        ++text;
    int length = 0;
    while (*text != '\0' && *text != ',') {
        if (length < TEXT_CHARS - 1)
            field[length++] = *text;
        ++text;
    }
    while (length > 1 && field[length - 1] == ' ')
        --length;
    field[length] = '\0';
    return *text == ',' ? text + 1 : text;
}

bool AllocFileTable(int count)
{
    const SIZE_T bytes = static_cast<SIZE_T>(count > 0 ? count : 0) * sizeof(FileEntry);
    config.fileTableMemory = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes ? bytes : 1);
    if (!config.fileTableMemory)
        return false;
    config.fileTable = static_cast<FileEntry *>(GlobalLock(config.fileTableMemory));
    if (!config.fileTable) {
        GlobalFree(config.fileTableMemory);
        config.fileTableMemory = nullptr;
        return false;
    }
    return true;
}

void FreeFileTable()
{
    if (config.fileTableMemory) {
        GlobalUnlock(config.fileTableMemory);
        GlobalFree(config.fileTableMemory);
    }
    config.fileTableMemory = nullptr;
    config.fileTable = nullptr;
    for (FileEntry *&list : config.fileLists)
        list = nullptr;
}

const char *ReadInstalledSetting(const char *section, const char *key, const char *fallback)
{
    char path[PATH_CHARS + sizeof SCRIPT_NAME];
    settingBuffer[0] = '\0';
    if (JoinText(path, config.destDir, SCRIPT_NAME))
        GetPrivateProfileStringA(section, key, fallback, settingBuffer, TEXT_CHARS, path);
    else
        CopyText(settingBuffer, fallback);
    return settingBuffer;
}

void RecordPriorSetting(const char *section, const char *key, const char *value)
{
    if (ReadInstalledSetting(section, key, "")[0] != '\0')
        return;  // the first non-empty record stays
    char path[PATH_CHARS + sizeof SCRIPT_NAME];
    if (JoinText(path, config.destDir, SCRIPT_NAME))
        WritePrivateProfileStringA(section, key, value, path);
}
