#pragma once

#include <string>
#include <vector>

#include "net/IdUDPClient.h"
#include "ui/Unit1.h"

// The main window reduced to what its logic touches: field texts in, and a journal of what the
// logic did to the window ("clear", "log: <line>", "message: <text>", "close") in order.
// Create a ScopedRecordingStack before it, so its UDP client sends nothing.
class FakeMainWindow : public TMainWindowHost {
public:
    FakeMainWindow() { udpClient_.SetBroadcastEnabled(true); }

    std::string mac;
    std::string ip;
    std::string password;
    std::string port = "26354";

    TIdUDPClient& UdpClient() override { return udpClient_; }
    void AddLogLine(const std::string& line) override {
        log_.push_back(line);
        journal_.push_back("log: " + line);
    }
    void ShowMessage(const std::string& text) override {
        messages_.push_back(text);
        journal_.push_back("message: " + text);
    }
    void CloseMainWindow() override { journal_.push_back("close"); }
    std::string MacText() override { return mac; }
    std::string IpText() override { return ip; }
    std::string PasswordText() override { return password; }
    std::string PortText() override { return port; }
    void ClearLog() override {
        log_.clear();
        journal_.push_back("clear");
    }

    const std::vector<std::string>& Log() const { return log_; }
    const std::vector<std::string>& Messages() const { return messages_; }
    const std::vector<std::string>& Journal() const { return journal_; }
    void ClearJournal() { journal_.clear(); }

private:
    TIdUDPClient udpClient_;
    std::vector<std::string> log_;
    std::vector<std::string> messages_;
    std::vector<std::string> journal_;
};
