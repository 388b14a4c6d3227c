#pragma once

#include <QObject>

class MainWindow;

// Fu&nctions (Fu_Set): closes the editor's fields and opens the function parameters window.
class FunctionCommands : public QObject {
    Q_OBJECT
public:
    explicit FunctionCommands(MainWindow& window);

private:
    void openFunctions();

    MainWindow& window_;
};
