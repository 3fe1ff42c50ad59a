#pragma once
// The error raised when text does not convert to a number.

#include <QString>

#include <stdexcept>

class EConvertError : public std::runtime_error
{
public:
    explicit EConvertError(const QString &message)
        : std::runtime_error(message.toStdString()), FMessage(message)
    {}
    const QString &Message() const { return FMessage; }

private:
    QString FMessage;
};
