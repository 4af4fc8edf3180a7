#pragma once

#include <windows.h>

#include <string>

#include "app/store/ConfigDB.h"

// A settings store on a database file in a fresh temporary folder, removed
// again with the object.
class TempStore {
public:
    TempStore()
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"tarnwell-device-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++Counter()) + L"\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
        CreateDirectoryW((folder_ + L"db").c_str(), nullptr);
        opened_ = store_.OpenDB(CString(folder_.c_str()), CString(L"TestBoard"));
    }

    ~TempStore()
    {
        store_.CloseDB();
        DeleteFileW((folder_ + L"db\\TestBoard_data.db").c_str());
        RemoveDirectoryW((folder_ + L"db").c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    TempStore(const TempStore&) = delete;
    TempStore& operator=(const TempStore&) = delete;

    bool Opened() const { return opened_; }
    ConfigDB& Store() { return store_; }

private:
    static int& Counter()
    {
        static int counter = 0;
        return counter;
    }

    std::wstring folder_;
    ConfigDB store_;
    bool opened_ = false;
};
