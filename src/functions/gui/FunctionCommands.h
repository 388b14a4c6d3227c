#pragma once

#include <QObject>

class WindowHost;

// Fu&nctions (Fu_Set): closes the editor's fields and opens the function parameters window.
class FunctionCommands : public QObject {
    Q_OBJECT
public:
    explicit FunctionCommands(WindowHost& window);

private:
    void openFunctions();

    WindowHost& window_;
};
