#pragma once
// The application's records with their start-up defaults: the format
// configuration (`parameters`), the signal generator settings
// (`SigGenSettings`) and the instrument connection (`configuration`). This is
// the one place that defines the defaults; the command line and the desktop
// application both start from them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/types.hpp"
#include "mac/mac_header.hpp"
#include "mac/payload.hpp"
#include "phy/frame_config.hpp"

namespace dot11b::app {

// The waveform title the instrument stores the waveform under: 1 to 20
// letters, digits and _ $ & # + - [ ].
inline constexpr std::size_t kMaxTitleLength = 20;
bool is_title_character(char c);

// Format tag of the parameter file; a file with any other tag is refused.
inline constexpr std::string_view kParameterFileFormatId = "dot11b - Format 1.0";

inline constexpr double kChipRate = 11e6;            // chips per second
inline constexpr double kDefaultOverSampling = 3.5;  // output samples per chip
inline constexpr std::size_t kMaxDataLength = 2312;  // payload octets
inline constexpr std::size_t kUserDataLimitBits = 8 * kMaxDataLength;
inline constexpr std::size_t kFcsLength = 4;  // octets of the frame check sequence
inline constexpr std::size_t kMaxFrames = 1000;  // frames per period
// The longest period an instrument's memory holds: 64 M samples.
inline constexpr double kMaxWaveformSamples = 64.0 * 1024 * 1024;

// `MACheader` of the format configuration.
struct MacHeaderSettings {
    bool active = false;                                  // Active: prepend the header (framed only)
    std::size_t length = 30;                              // Length: octets of the header
    mac::MacHeader contents = mac::default_mac_header();  // Contents: the MAC header record

    bool operator==(const MacHeaderSettings&) const = default;
};

// `MACfcs` of the format configuration.
struct FcsSettings {
    bool active = false;              // Active: append the FCS (framed only)
    std::size_t length = kFcsLength;  // Length: octets
    Bits contents;                    // Contents: set only on the payload generator's own copy

    bool operator==(const FcsSettings&) const = default;
};

// `parameters`: the format configuration of the waveform, in the order in which
// its fields are created. The record field of each member is named beside it.
struct FormatParameters {
    std::string format_id{kParameterFileFormatId};               // ParameterFileFormat_ID
    bool framed = true;                                          // generationMode: 1 framed, 0 unframed
    phy::DataRate rate = phy::DataRate::Mbps11;                  // dataRate
    phy::Modulation modulation = phy::Modulation::Cck;           // highRateMod (5.5 and 11 Mbit/s)
    phy::PreambleType preamble = phy::PreambleType::Long;        // preambleType
    bool locked_clocks = false;                                  // clkLocked
    phy::ScramblerMode scrambler = phy::ScramblerMode::On;       // scramblerActive
    bool pbcc_encoder = true;                                    // encoderActive
    phy::RampType ramp = phy::RampType::Linear;                  // rampType
    std::size_t ramp_length = 77;                                // rampLength: samples (2 us at 38.5 MHz)
    std::size_t idle_samples = 3850;                             // idleSamples: samples (100 us at 38.5 MHz)
    int channel = 1;                                             // Channel: RF channel 1 to 14
    bool mirror_spectrum = false;                                // MirrorSpectrum
    MacHeaderSettings mac_header;                                // MACheader
    FcsSettings fcs;                                             // MACfcs
    mac::PayloadSource data_source = mac::PayloadSource::Zeros;  // dataSourceType
    std::size_t data_length = 1024;                              // dataLength: payload octets, 0 to 2312
    std::string data_source_name;                                // dataSourceName
    Bits data_source_bits;                                       // dataSourceBitstream: user file payload
    std::size_t total_length = 1024;                             // totalLength: PSDU octets
    double oversampling = kDefaultOverSampling;                  // OverSampling: 2, 2.5, 3 or 3.5
    phy::FilterType filter = phy::FilterType::Gaussian;          // FilterType
    double filter_factor = 0.5;                                  // FilterFactor: Gaussian BT or roll-off
    double filter_taps = 6;                                      // FilterTaps: symbols (chips)
    std::string last_path;                                       // LastPath: folder of the last user file
    std::optional<double> projected_length;                      // ProjectedLength: absent until first shown
    std::size_t frames = 1;                                      // Frames: frames per period, 1 to 1000 (framed only)
    bool payload_continue = false;                               // PayloadContinue: PN payloads run on between frames

    // Throws ConfigError naming `record`.field, the value and the allowed values.
    void validate(std::string_view record = "parameters") const;
    bool operator==(const FormatParameters&) const = default;
};

// `SigGenSettings`: what the download sends to the generator besides the samples.
struct SigGenSettings {
    std::string title = "dot11b";                             // Title: waveform name in the instrument
    double frequency = 2412000000;                            // Frequency: Hz (channel 1)
    double amplitude = -30;                                   // Amplitude: dBm
    double sampling_rate = kChipRate * kDefaultOverSampling;  // SamplingRate: Hz
    int recon_filter = 4;                                     // ReconFilter: 1 to 4 (4 = through)
    bool rf_blanking = true;                                  // RFblanking
    bool external_reference = false;                          // ArbRefSource: 0 internal, 1 external
    bool negative_markers = false;                            // MarkerPolarity: 0 positive, 1 negative

    void validate(std::string_view record = "SigGenSettings") const;
    bool operator==(const SigGenSettings&) const = default;
};

struct GpibSettings {
    int board = 0;       // interface board, 0 to 15
    int primary = 19;    // primary address, 0 to 30
    int secondary = -1;  // secondary address, 0 to 31; -1 none
    bool operator==(const GpibSettings&) const = default;
};

struct Rs232Settings {
    int port = 1;         // serial port, 1 to 9
    int baudrate = 9600;  // bits per second
    std::string handshake = "Xon/Xoff";
    // A serial device chosen by its path (/dev/ttyUSB0, /dev/serial/by-id/...)
    // instead of the numbered port; empty: the port. Stored as RS232.device
    // only when set, so records of the numbered ports keep their fields.
    std::string device;
    bool operator==(const Rs232Settings&) const = default;
};

struct TcpipSettings {
    std::string address = "0.0.0.0";  // dotted IPv4 address of the instrument
    int board = 0;                    // LAN interface index
    bool operator==(const TcpipSettings&) const = default;
};

// A SoapySDR radio that plays the waveform instead of a generator.
struct SdrSettings {
    std::string args;     // device arguments, "driver=hackrf"; empty: the first device found
    double gain = 0;      // TX gain in dB, clamped to the device's range
    std::string antenna;  // empty: the device's own choice
    double rate = 0;      // sample rate in Hz; 0: Auto, chosen from the rates the device offers
    bool operator==(const SdrSettings&) const = default;
};

// `configuration`: how the host reaches the instrument.
struct ConnectionConfig {
    std::string type = "GPIB";            // type: "GPIB", "RS232", "TCPIP" or "SDR" (any case)
    GpibSettings gpib;                    // GPIB
    Rs232Settings rs232;                  // RS232
    TcpipSettings tcpip;                  // TCPIP
    SdrSettings sdr;                      // SDR: absent from older records, which get the defaults
    std::string bbg_type = "002";         // BBGtype
    std::string last_parameter_filename;  // LastParameterFilename: empty for a new set
    std::string corrections_folder;       // CorrectionsFolder: correction files; empty for the per-user default

    void validate(std::string_view record = "configuration") const;
    bool operator==(const ConnectionConfig&) const = default;
};

}  // namespace dot11b::app
