#include "plugins/mvimgplug/metadata_names.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace mvimgplug {

namespace {

struct Name {
    uint16_t id;
    const char* name;
};

// Sorted by number, each directory on its own.
constexpr Name kMainNames[] = {
    {0x00FE, "NewSubfileType"}, {0x0100, "ImageWidth"}, {0x0101, "ImageLength"}, {0x0102, "BitsPerSample"},
    {0x0103, "Compression"}, {0x0106, "PhotometricInterpretation"}, {0x010D, "DocumentName"},
    {0x010E, "ImageDescription"}, {0x010F, "Make"}, {0x0110, "Model"}, {0x0112, "Orientation"},
    {0x0115, "SamplesPerPixel"}, {0x011A, "XResolution"}, {0x011B, "YResolution"}, {0x011C, "PlanarConfiguration"},
    {0x011D, "PageName"}, {0x0128, "ResolutionUnit"}, {0x0129, "PageNumber"}, {0x012D, "TransferFunction"},
    {0x0131, "Software"}, {0x0132, "DateTime"}, {0x013B, "Artist"}, {0x013C, "HostComputer"},
    {0x013E, "WhitePoint"}, {0x013F, "PrimaryChromaticities"}, {0x0211, "YCbCrCoefficients"},
    {0x0212, "YCbCrSubSampling"}, {0x0213, "YCbCrPositioning"}, {0x0214, "ReferenceBlackWhite"},
    {0x8298, "Copyright"}, {0x8769, "ExifIFDPointer"}, {0x8825, "GPSInfoIFDPointer"},
};

constexpr Name kExifNames[] = {
    {0x829A, "ExposureTime"}, {0x829D, "FNumber"}, {0x8822, "ExposureProgram"}, {0x8824, "SpectralSensitivity"},
    {0x8827, "ISOSpeedRatings"}, {0x8828, "OECF"}, {0x9000, "ExifVersion"}, {0x9003, "DateTimeOriginal"},
    {0x9004, "DateTimeDigitized"}, {0x9101, "ComponentsConfiguration"}, {0x9102, "CompressedBitsPerPixel"},
    {0x9201, "ShutterSpeedValue"}, {0x9202, "ApertureValue"}, {0x9203, "BrightnessValue"},
    {0x9204, "ExposureBiasValue"}, {0x9205, "MaxApertureValue"}, {0x9206, "SubjectDistance"},
    {0x9207, "MeteringMode"}, {0x9208, "LightSource"}, {0x9209, "Flash"}, {0x920A, "FocalLength"},
    {0x9214, "SubjectArea"}, {0x927C, "MakerNote"}, {0x9286, "UserComment"}, {0x9290, "SubSecTime"},
    {0x9291, "SubSecTimeOriginal"}, {0x9292, "SubSecTimeDigitized"}, {0xA000, "FlashpixVersion"},
    {0xA001, "ColorSpace"}, {0xA002, "PixelXDimension"}, {0xA003, "PixelYDimension"},
    {0xA004, "RelatedSoundFile"}, {0xA005, "InteroperabilityIFDPointer"}, {0xA20B, "FlashEnergy"},
    {0xA20E, "FocalPlaneXResolution"}, {0xA20F, "FocalPlaneYResolution"}, {0xA210, "FocalPlaneResolutionUnit"},
    {0xA214, "SubjectLocation"}, {0xA215, "ExposureIndex"}, {0xA217, "SensingMethod"}, {0xA300, "FileSource"},
    {0xA301, "SceneType"}, {0xA302, "CFAPattern"}, {0xA401, "CustomRendered"}, {0xA402, "ExposureMode"},
    {0xA403, "WhiteBalance"}, {0xA404, "DigitalZoomRatio"}, {0xA405, "FocalLengthIn35mmFilm"},
    {0xA406, "SceneCaptureType"}, {0xA407, "GainControl"}, {0xA408, "Contrast"}, {0xA409, "Saturation"},
    {0xA40A, "Sharpness"}, {0xA40B, "DeviceSettingDescription"}, {0xA40C, "SubjectDistanceRange"},
    {0xA420, "ImageUniqueID"},
};

constexpr Name kGpsNames[] = {
    {0x00, "GPSVersionID"}, {0x01, "GPSLatitudeRef"}, {0x02, "GPSLatitude"}, {0x03, "GPSLongitudeRef"},
    {0x04, "GPSLongitude"}, {0x05, "GPSAltitudeRef"}, {0x06, "GPSAltitude"}, {0x07, "GPSTimeStamp"},
    {0x08, "GPSSatellites"}, {0x09, "GPSStatus"}, {0x0A, "GPSMeasureMode"}, {0x0B, "GPSDOP"},
    {0x0C, "GPSSpeedRef"}, {0x0D, "GPSSpeed"}, {0x0E, "GPSTrackRef"}, {0x0F, "GPSTrack"},
    {0x10, "GPSImgDirectionRef"}, {0x11, "GPSImgDirection"}, {0x12, "GPSMapDatum"}, {0x13, "GPSDestLatitudeRef"},
    {0x14, "GPSDestLatitude"}, {0x15, "GPSDestLongitudeRef"}, {0x16, "GPSDestLongitude"},
    {0x17, "GPSDestBearingRef"}, {0x18, "GPSDestBearing"}, {0x19, "GPSDestDistanceRef"},
    {0x1A, "GPSDestDistance"}, {0x1B, "GPSProcessingMethod"}, {0x1C, "GPSAreaInformation"},
    {0x1D, "GPSDateStamp"}, {0x1E, "GPSDifferential"},
};

// The application record (2) of IPTC-IIM.
constexpr Name kIptcNames[] = {
    {0x0200, "ApplicationRecordVersion"}, {0x0205, "ObjectName"}, {0x0207, "EditStatus"},
    {0x020A, "Urgency"}, {0x020F, "Category"}, {0x0214, "SupplementalCategories"}, {0x0216, "FixtureIdentifier"},
    {0x0219, "Keywords"}, {0x021A, "ContentLocationCode"}, {0x021B, "ContentLocationName"},
    {0x021E, "ReleaseDate"}, {0x0223, "ReleaseTime"}, {0x0225, "ExpirationDate"}, {0x0226, "ExpirationTime"},
    {0x0228, "SpecialInstructions"}, {0x022A, "ActionAdvised"}, {0x022D, "ReferenceService"},
    {0x022F, "ReferenceDate"}, {0x0232, "ReferenceNumber"}, {0x0237, "DateCreated"}, {0x023C, "TimeCreated"},
    {0x023E, "DigitalCreationDate"}, {0x023F, "DigitalCreationTime"}, {0x0241, "OriginatingProgram"},
    {0x0246, "ProgramVersion"}, {0x024B, "ObjectCycle"}, {0x0250, "By-line"}, {0x0255, "By-lineTitle"},
    {0x025A, "City"}, {0x025C, "SubLocation"}, {0x025F, "Province-State"},
    {0x0264, "Country-PrimaryLocationCode"}, {0x0265, "Country-PrimaryLocationName"},
    {0x0267, "OriginalTransmissionReference"}, {0x0269, "Headline"}, {0x026E, "Credit"}, {0x0273, "Source"},
    {0x0274, "CopyrightNotice"}, {0x0276, "Contact"}, {0x0278, "Caption-Abstract"}, {0x027A, "Writer-Editor"},
    {0x0283, "ImageType"}, {0x0284, "ImageOrientation"}, {0x0287, "LanguageIdentifier"},
};

template <size_t N>
constexpr bool Sorted(const Name (&names)[N]) {
    for (size_t i = 1; i < N; ++i) {
        if (names[i - 1].id >= names[i].id) return false;
    }
    return true;
}
static_assert(Sorted(kMainNames) && Sorted(kExifNames) && Sorted(kGpsNames) && Sorted(kIptcNames));

template <size_t N>
std::string KeyOf(const Name (&names)[N], uint16_t id) {
    const Name* found =
        std::lower_bound(std::begin(names), std::end(names), id, [](const Name& n, uint16_t v) { return n.id < v; });
    if (found != std::end(names) && found->id == id) return found->name;
    char number[16];
    std::snprintf(number, sizeof number, "Tag 0x%04X", id);
    return number;
}

}  // namespace

std::string ExifTagKey(gdiplus::codecs::TagDirectory directory, uint16_t id) {
    using gdiplus::codecs::TagDirectory;
    switch (directory) {
        case TagDirectory::Exif: return KeyOf(kExifNames, id);
        case TagDirectory::Gps: return KeyOf(kGpsNames, id);
        case TagDirectory::Main: break;
    }
    return KeyOf(kMainNames, id);
}

std::string IptcTagKey(uint16_t id) { return KeyOf(kIptcNames, id); }

}  // namespace mvimgplug
