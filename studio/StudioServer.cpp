#include "studio/StudioServer.h"

// Boost 1.74's asio uses std::exchange without including <utility> itself.
#include <utility>

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include <deque>
#include <iostream>

namespace tessark_studio {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

namespace {

//! Larger messages than any the page sends are refused (the connection closes).
constexpr std::size_t kMaxMessage = 1 << 20;

class Page;

//! What the connections share: the session, the files, the page that
//! drives the session.
struct Hub {
    StudioSession& session;
    WebRoot web;
    Page* driver = nullptr;
};

// ---------------------------------------------------------------- the page's socket

class Page : public std::enable_shared_from_this<Page> {
public:
    Page(Hub& hub, tcp::socket socket) : hub_(hub), ws_(std::move(socket)) {}

    ~Page() {
        if (hub_.driver == this) release();
    }

    void accept(http::request<http::string_body> request) {
        ws_.set_option(websocket::stream_base::timeout::suggested(beast::role_type::server));
        ws_.read_message_max(kMaxMessage);
        // A mesh goes as one frame, not as thousands of small ones.
        ws_.auto_fragment(false);
        ws_.async_accept(request, [self = shared_from_this()](beast::error_code ec) {
            if (!ec) self->opened();
        });
    }

private:
    void opened() {
        if (hub_.driver) {
            // The scene is another page's: this one is told, and closed.
            refused_ = true;
            queue(
                {false,
                 R"({"type":"refused","text":"another page is driving this session: close it first, then reload this one"})"});
            return;
        }
        hub_.driver = this;
        hub_.session.pageOpened();
        std::cout << "tessark studio: a page connected" << std::endl;
        read();
    }

    void read() {
        ws_.async_read(buffer_, [self = shared_from_this()](beast::error_code ec, std::size_t) {
            self->received(ec);
        });
    }

    void received(beast::error_code ec) {
        if (ec) {
            closed(ec);
            return;
        }
        std::string text = beast::buffers_to_string(buffer_.data());
        buffer_.consume(buffer_.size());
        if (!ws_.got_text()) {
            queue(
                {false, R"({"type":"error","text":"refused a message: messages are JSON text"})"});
        } else {
            std::vector<Outgoing> replies;
            try {
                replies = hub_.session.handle(text);
            } catch (const std::exception& e) {
                replies = {{false, std::string(R"({"type":"error","text":"the message failed: )") +
                                       "out of memory or a fault of the studio" + "\"}"}};
                std::cerr << "tessark studio: a message failed: " << e.what() << std::endl;
            }
            for (auto& r : replies) queue(std::move(r));
        }
        pump();
        read();
    }

    void queue(Outgoing message) {
        out_.push_back(std::move(message));
        pump();
    }

    //! Sends what is queued, one message at a time; with nothing queued, the
    //! frame the page is owed, drawn now.
    void pump() {
        if (writing_ || gone_) return;
        if (out_.empty() && hub_.driver == this && hub_.session.frameWanted()) {
            try {
                for (auto& m : hub_.session.frame()) out_.push_back(std::move(m));
            } catch (const std::exception& e) {
                std::cerr << "tessark studio: drawing a frame failed: " << e.what() << std::endl;
            }
        }
        if (out_.empty()) {
            if (refused_) close();
            return;
        }
        writing_ = true;
        ws_.binary(out_.front().binary);
        ws_.async_write(asio::buffer(out_.front().data),
                        [self = shared_from_this()](beast::error_code ec, std::size_t) {
                            self->writing_ = false;
                            self->out_.pop_front();
                            if (ec) {
                                self->closed(ec);
                                return;
                            }
                            self->pump();
                        });
    }

    void close() {
        if (gone_) return;
        gone_ = true;
        ws_.async_close(websocket::close_code::try_again_later,
                        [self = shared_from_this()](beast::error_code) {});
    }

    void closed(beast::error_code ec) {
        if (hub_.driver == this) {
            release();
            std::cout << "tessark studio: the page went away"
                      << (ec == websocket::error::closed ? "" : " (" + ec.message() + ")")
                      << std::endl;
        }
        gone_ = true;
    }

    void release() {
        hub_.driver = nullptr;
        hub_.session.pageClosed();
    }

    Hub& hub_;
    websocket::stream<beast::tcp_stream> ws_;
    beast::flat_buffer buffer_;
    std::deque<Outgoing> out_;
    bool writing_ = false, gone_ = false, refused_ = false;
};

// ---------------------------------------------------------------- HTTP

class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
public:
    HttpConnection(Hub& hub, tcp::socket socket) : hub_(hub), stream_(std::move(socket)) {}

    void read() {
        request_ = {};
        stream_.expires_after(std::chrono::seconds(60));
        http::async_read(stream_, buffer_, request_,
                         [self = shared_from_this()](beast::error_code ec, std::size_t) {
                             if (!ec) self->answer();
                         });
    }

private:
    void answer() {
        if (websocket::is_upgrade(request_)) {
            if (request_.target() == "/socket") {
                stream_.expires_never();
                std::make_shared<Page>(hub_, stream_.release_socket())->accept(std::move(request_));
                return;
            }
            return send(plain(http::status::not_found, "no socket at this address\n"));
        }
        if (request_.method() != http::verb::get && request_.method() != http::verb::head)
            return send(plain(http::status::method_not_allowed, "only GET and HEAD\n"));
        std::string file;
        if (!hub_.web.resolve(std::string(request_.target()), file))
            return send(plain(http::status::not_found, "not found\n"));
        http::file_body::value_type body;
        beast::error_code ec;
        body.open(file.c_str(), beast::file_mode::scan, ec);
        if (ec) return send(plain(http::status::internal_server_error, ec.message() + "\n"));
        const auto size = body.size();
        if (request_.method() == http::verb::head) {
            http::response<http::empty_body> head{http::status::ok, request_.version()};
            head.set(http::field::content_type, WebRoot::mediaType(file));
            head.content_length(size);
            head.keep_alive(request_.keep_alive());
            return send(std::move(head));
        }
        http::response<http::file_body> response{
            std::piecewise_construct, std::make_tuple(std::move(body)),
            std::make_tuple(http::status::ok, request_.version())};
        response.set(http::field::content_type, WebRoot::mediaType(file));
        response.set(http::field::cache_control, "no-cache");
        response.content_length(size);
        response.keep_alive(request_.keep_alive());
        send(std::move(response));
    }

    http::response<http::string_body> plain(http::status status, std::string text) {
        http::response<http::string_body> r{status, request_.version()};
        r.set(http::field::content_type, "text/plain; charset=utf-8");
        r.body() = std::move(text);
        r.prepare_payload();
        r.keep_alive(request_.keep_alive());
        return r;
    }

    template <class Body>
    void send(http::response<Body>&& response) {
        auto held = std::make_shared<http::response<Body>>(std::move(response));
        http::async_write(
            stream_, *held, [self = shared_from_this(), held](beast::error_code ec, std::size_t) {
                if (ec || !held->keep_alive()) {
                    beast::error_code ignored;
                    self->stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
                    return;
                }
                self->read();
            });
    }

    Hub& hub_;
    beast::tcp_stream stream_;
    beast::flat_buffer buffer_;
    http::request<http::string_body> request_;
};

}  // namespace

// ---------------------------------------------------------------- the server

struct StudioServer::Impl {
    Impl(StudioSession& session, WebRoot web, ServerOptions o)
        : hub{session, std::move(web)}, options(std::move(o)), acceptor(io), signals(io) {}
    // The loop goes before the hub: the pages it still holds when it is
    // destroyed give their buttons back through the hub's session.

    void acceptNext() {
        acceptor.async_accept([this](beast::error_code ec, tcp::socket socket) {
            if (ec) {
                if (ec != asio::error::operation_aborted)
                    std::cerr << "tessark studio: accept: " << ec.message() << std::endl;
                if (acceptor.is_open()) acceptNext();
                return;
            }
            std::make_shared<HttpConnection>(hub, std::move(socket))->read();
            acceptNext();
        });
    }

    Hub hub;
    ServerOptions options;
    asio::io_context io{1};
    tcp::acceptor acceptor;
    asio::signal_set signals;
};

StudioServer::StudioServer(StudioSession& session, WebRoot web, ServerOptions options)
    : impl_(std::make_unique<Impl>(session, std::move(web), std::move(options))) {}

StudioServer::~StudioServer() = default;

bool StudioServer::listen(std::string& why) {
    beast::error_code ec;
    const auto address = asio::ip::make_address(impl_->options.address, ec);
    if (ec) {
        why = "\"" + impl_->options.address + "\" is no IP address";
        return false;
    }
    const tcp::endpoint endpoint(address, impl_->options.port);
    auto& a = impl_->acceptor;
    a.open(endpoint.protocol(), ec);
    if (!ec) a.set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec) a.bind(endpoint, ec);
    if (!ec) a.listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        why = "cannot listen on " + impl_->options.address + " port " +
              std::to_string(impl_->options.port) + ": " + ec.message();
        beast::error_code ignored;
        a.close(ignored);
        return false;
    }
    return true;
}

unsigned short StudioServer::port() const {
    beast::error_code ec;
    auto endpoint = impl_->acceptor.local_endpoint(ec);
    return ec ? 0 : endpoint.port();
}

void StudioServer::run() {
    impl_->signals.add(SIGINT);
    impl_->signals.add(SIGTERM);
    impl_->signals.async_wait([this](beast::error_code ec, int) {
        if (!ec) stop();
    });
    impl_->acceptNext();
    impl_->io.run();
}

void StudioServer::stop() {
    impl_->io.stop();
}

}  // namespace tessark_studio
