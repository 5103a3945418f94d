#pragma once

#include "capi/TCallingPartyNumber.h"
#include "capi/TCallingPartySubAddress.h"
#include "capi/TCapiMessage.h"
#include "capi/TStruct.h"

// The messages this program parses. Each reads its parameters in order within the message's
// bytes; one that does not fit is incomplete, and the factory refuses it (see CreateCapiMessage).
class TCapiReceivedMessage : public TCapiMessage
{
public:
    bool complete() const { return m_complete; }
    // The controller, PLCI or NCCI that the message concerns: its first parameter.
    quint32 address() const { return m_address; }

protected:
    explicit TCapiReceivedMessage(std::span<const quint8> received) : TCapiMessage(received) {}
    void finish(const CapiParameterReader& reader) { m_complete = reader.ok(); }

    quint32 m_address = 0;

private:
    bool m_complete = false;
};

// A confirmation: the address, then (for DATA_B3_CONF after the data handle) the Info word.
class TCapiConfirmation : public TCapiReceivedMessage
{
public:
    quint16 info() const { return m_info; }

protected:
    TCapiConfirmation(std::span<const quint8> received, bool withDataHandle);

    quint16 m_dataHandle = 0;

private:
    quint16 m_info = 0;
};

class TAlertConf : public TCapiConfirmation
{
public:
    explicit TAlertConf(std::span<const quint8> received) : TCapiConfirmation(received, false) {}
    quint32 plci() const { return m_address; }
};

class TConnectConf : public TCapiConfirmation
{
public:
    explicit TConnectConf(std::span<const quint8> received) : TCapiConfirmation(received, false) {}
    quint32 plci() const { return m_address; }
};

class TDisconnectConf : public TCapiConfirmation
{
public:
    explicit TDisconnectConf(std::span<const quint8> received) : TCapiConfirmation(received, false) {}
    quint32 plci() const { return m_address; }
};

class TListenConf : public TCapiConfirmation
{
public:
    explicit TListenConf(std::span<const quint8> received) : TCapiConfirmation(received, false) {}
    quint32 controller() const { return m_address; }
};

class TConnectB3Conf : public TCapiConfirmation
{
public:
    explicit TConnectB3Conf(std::span<const quint8> received) : TCapiConfirmation(received, false) {}
    quint32 ncci() const { return m_address; }
};

class TDisconnectB3Conf : public TCapiConfirmation
{
public:
    explicit TDisconnectB3Conf(std::span<const quint8> received) : TCapiConfirmation(received, false) {}
    quint32 ncci() const { return m_address; }
};

class TDataB3Conf : public TCapiConfirmation
{
public:
    explicit TDataB3Conf(std::span<const quint8> received) : TCapiConfirmation(received, true) {}
    quint32 ncci() const { return m_address; }
    quint16 dataHandle() const { return m_dataHandle; }
};

class TConnectInd : public TCapiReceivedMessage
{
public:
    explicit TConnectInd(std::span<const quint8> received);
    quint32 plci() const { return m_address; }
    quint16 cipValue() const { return m_cipValue; }
    // The called party number has the one-octet layout: type of number, then the digits.
    const TCallingPartySubAddress& calledPartyNumber() const { return m_calledPartyNumber; }
    const TCallingPartyNumber& callingPartyNumber() const { return m_callingPartyNumber; }
    const TCallingPartySubAddress& calledPartySubAddress() const { return m_calledPartySubAddress; }
    const TCallingPartySubAddress& callingPartySubAddress() const { return m_callingPartySubAddress; }
    const TStruct& bc() const { return m_bc; }
    const TStruct& llc() const { return m_llc; }
    const TStruct& hlc() const { return m_hlc; }
    const TStruct& additionalInfo() const { return m_additionalInfo; }

private:
    quint16 m_cipValue = 0;
    TCallingPartySubAddress m_calledPartyNumber{TStruct()};
    TCallingPartyNumber m_callingPartyNumber{TStruct()};
    TCallingPartySubAddress m_calledPartySubAddress{TStruct()};
    TCallingPartySubAddress m_callingPartySubAddress{TStruct()};
    TStruct m_bc;
    TStruct m_llc;
    TStruct m_hlc;
    TStruct m_additionalInfo;
};

class TConnectActiveInd : public TCapiReceivedMessage
{
public:
    explicit TConnectActiveInd(std::span<const quint8> received);
    quint32 plci() const { return m_address; }
    const TCallingPartyNumber& connectedNumber() const { return m_connectedNumber; }
    const TCallingPartySubAddress& connectedSubAddress() const { return m_connectedSubAddress; }
    const TStruct& llc() const { return m_llc; }

private:
    TCallingPartyNumber m_connectedNumber{TStruct()};
    TCallingPartySubAddress m_connectedSubAddress{TStruct()};
    TStruct m_llc;
};

class TDisconnectInd : public TCapiReceivedMessage
{
public:
    explicit TDisconnectInd(std::span<const quint8> received);
    quint32 plci() const { return m_address; }
    quint16 reason() const { return m_reason; }

private:
    quint16 m_reason = 0;
};

class TInfoInd : public TCapiReceivedMessage
{
public:
    explicit TInfoInd(std::span<const quint8> received);
    quint32 plci() const { return m_address; }
    quint16 infoNumber() const { return m_infoNumber; }
    const TStruct& infoElement() const { return m_infoElement; }

private:
    quint16 m_infoNumber = 0;
    TStruct m_infoElement;
};

// CONNECT_B3_IND and CONNECT_B3_ACTIVE_IND: the NCCI and the NCPI.
class TNcciNcpiIndication : public TCapiReceivedMessage
{
public:
    quint32 ncci() const { return m_address; }
    const TStruct& ncpi() const { return m_ncpi; }

protected:
    explicit TNcciNcpiIndication(std::span<const quint8> received);

private:
    TStruct m_ncpi;
};

class TConnectB3Ind : public TNcciNcpiIndication
{
public:
    explicit TConnectB3Ind(std::span<const quint8> received) : TNcciNcpiIndication(received) {}
};

class TConnectB3ActiveInd : public TNcciNcpiIndication
{
public:
    explicit TConnectB3ActiveInd(std::span<const quint8> received) : TNcciNcpiIndication(received) {}
};

class TDisconnectB3Ind : public TCapiReceivedMessage
{
public:
    explicit TDisconnectB3Ind(std::span<const quint8> received);
    quint32 ncci() const { return m_address; }
    quint16 reasonB3() const { return m_reasonB3; }
    const TStruct& ncpi() const { return m_ncpi; }

private:
    quint16 m_reasonB3 = 0;
    TStruct m_ncpi;
};

class TDataB3Ind : public TCapiReceivedMessage
{
public:
    explicit TDataB3Ind(std::span<const quint8> received);
    quint32 ncci() const { return m_address; }
    // The 32-bit data pointer as the CAPI wrote it; never dereferenced here.
    quint32 data() const { return m_data; }
    quint16 dataLength() const { return m_dataLength; }
    quint16 dataHandle() const { return m_dataHandle; }
    quint16 flags() const { return m_flags; }

private:
    quint32 m_data = 0;
    quint16 m_dataLength = 0;
    quint16 m_dataHandle = 0;
    quint16 m_flags = 0;
};
