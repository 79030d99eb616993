// libavformat, libavcodec and libavutil, opened at run time rather than
// linked, like the media player: with the hundred codec libraries they pull
// in they cost every window some 18 MB of memory and part of its start-up,
// though only a recording listener needs them. By the time a song is cut the
// media player has loaded them already.
#pragma once

#include <QString>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/mathematics.h>
}

struct AvLibrary {
    decltype(&::av_strerror) av_strerror;
    decltype(&::av_rescale_q) av_rescale_q;
    decltype(&::av_dict_set) av_dict_set;
    decltype(&::av_dict_free) av_dict_free;
    decltype(&::av_packet_alloc) av_packet_alloc;
    decltype(&::av_packet_free) av_packet_free;
    decltype(&::av_packet_unref) av_packet_unref;
    decltype(&::avcodec_get_name) avcodec_get_name;
    decltype(&::avcodec_parameters_copy) avcodec_parameters_copy;
    decltype(&::avformat_open_input) avformat_open_input;
    decltype(&::avformat_find_stream_info) avformat_find_stream_info;
    decltype(&::avformat_close_input) avformat_close_input;
    decltype(&::av_find_best_stream) av_find_best_stream;
    decltype(&::av_read_frame) av_read_frame;
    decltype(&::avformat_alloc_output_context2) avformat_alloc_output_context2;
    decltype(&::avformat_free_context) avformat_free_context;
    decltype(&::avformat_new_stream) avformat_new_stream;
    decltype(&::avformat_write_header) avformat_write_header;
    decltype(&::av_write_frame) av_write_frame;
    decltype(&::av_write_trailer) av_write_trailer;
    decltype(&::avio_open) avio_open;
    decltype(&::avio_closep) avio_closep;

    // The libraries of the versions we were built against, loaded on the
    // first call from any thread; null when they cannot be (error says why).
    static const AvLibrary* get(QString* error = nullptr);
};
