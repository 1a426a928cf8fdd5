#!/usr/bin/env bash
# Makes the short test clips of the media tests into the folder given as $1. A clip that is
# already there is kept, so a second run costs nothing. Each clip is written under a
# temporary name and renamed when complete, so an interrupted run never leaves half a clip.
set -euo pipefail

out=${1:?usage: make-clips.sh FOLDER}
mkdir -p "$out"
cd "$out"

picture() { # picture RATE SIZE
    echo -f lavfi -i "testsrc=duration=3:size=$2:rate=$1"
}
tone="-f lavfi -i sine=frequency=440:duration=3:sample_rate=44100"

make() { # make NAME FFMPEG-ARGUMENTS...
    local name=$1
    shift
    [ -s "$name" ] && return 0
    local partial=".partial.$$.$name"
    # The muxer is named explicitly because the temporary name hides the extension.
    ffmpeg -nostdin -hide_banner -loglevel error -y "$@" "$partial"
    mv -f "$partial" "$name"
}

# shellcheck disable=SC2046,SC2086
{
    make clip.mp4 $(picture 25 320x240) $tone -metadata title=TestClip \
        -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest -f mp4
    make clip.avi $(picture 25 320x240) $tone -metadata title=TestClip \
        -c:v mpeg4 -c:a libmp3lame -shortest -f avi
    make clip.mpg $(picture 25 320x240) $tone -c:v mpeg1video -c:a mp2 -shortest -f mpeg
    make clip.rm $(picture 25 320x240) $tone -metadata title=TestClip \
        -c:v rv20 -c:a ac3 -b:a 64k -shortest -f rm
    make wide.mp4 $(picture 25 320x240) -vf setsar=4/3 \
        -c:v libx264 -preset ultrafast -pix_fmt yuv420p -f mp4
    make slow.mp4 $(picture 5 320x240) \
        -c:v libx264 -preset ultrafast -pix_fmt yuv420p -f mp4
    make small.mp4 $(picture 25 176x144) $tone \
        -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest -f mp4
    make large.mp4 $(picture 25 1280x720) \
        -c:v libx264 -preset ultrafast -pix_fmt yuv420p -f mp4
    make tone.mp3 $tone -metadata title=TestTone -c:a libmp3lame -f mp3
    make live.ts $(picture 25 320x240) $tone -c:v mpeg1video -c:a mp2 -shortest -f mpegts
    # A stream list (HLS) of three one-second segments beside it, as a local folder holds one.
    make stream.m3u8 $(picture 25 320x240) $tone -c:v libx264 -preset ultrafast -pix_fmt yuv420p \
        -g 25 -c:a aac -shortest -f hls -hls_time 1 -hls_list_size 0 \
        -hls_segment_filename 'stream%d.ts'
    # A radio's sound: bare MPEG audio frames at a steady rate, no tags, for an ICY server.
    make radio.mp3 -f lavfi -i sine=frequency=330:duration=20:sample_rate=44100 \
        -c:a libmp3lame -b:a 128k -id3v2_version 0 -write_xing 0 -f mp3
    # Two sound tracks (eng, and jpn titled "Second") and a subtitle track, and the subtitles
    # alone in a file of another name (one of the same name would be loaded with the clip).
    [ -s subtitles.srt ] || printf '1\n00:00:00,000 --> 00:00:03,000\nHello\n' >subtitles.srt
    make tracks.mkv $(picture 25 320x240) $tone \
        -f lavfi -i sine=frequency=880:duration=3:sample_rate=44100 -i subtitles.srt \
        -map 0:v -map 1:a -map 2:a -map 3:s -c:v libx264 -preset ultrafast -pix_fmt yuv420p \
        -c:a aac -c:s srt -metadata:s:a:0 language=eng -metadata:s:a:1 language=jpn \
        -metadata:s:a:1 title=Second -metadata:s:s:0 language=eng -shortest -f matroska
    # Its sound runs on a little past the picture: the position passes the length.
    make overrun.avi $(picture 25 320x240) $tone -c:v mpeg4 -q:v 12 -c:a mp2 -shortest -f avi
}
